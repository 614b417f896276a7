#pragma once

#include <QString>

namespace kivo {

// Asks the name of a load list through the shared text-input dialog, again and again
// until the answer is a name that a list can bear and keep saving under, or empty.
class ListNamePrompt {
public:
    // blnShowAll enables the dialog's buttons for all files. The empty text when the
    // user gave no name.
    static QString askValidName(bool blnShowAll, const QString &strMessage, const QString &strTitle,
                                const QString &strDefault);
};

} // namespace kivo
