#pragma once

#include "kivoruntime_export.h"

#include <QString>
#include <QStringList>

#include <optional>

class QDialog;
class QFileDialog;

namespace kivo {

// Button sets and answer codes keep the platform's numbers, which callers compare.
enum class Buttons { Ok = 0, AbortRetryIgnore = 2, YesNoCancel = 3, YesNo = 4 };
enum class Icon { None, Critical, Question, Exclamation, Information };
enum class Answer { Ok = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };

struct MessageRequest {
    QString text;
    Buttons buttons = Buttons::Ok;
    Icon icon = Icon::None;
    QString title; // empty: the program's title
};

// The one place through which every modal question reaches the user, so that
// tests can answer them by script. The program installs the Qt implementation.
class KIVORUNTIME_EXPORT ModalSeam {
public:
    virtual ~ModalSeam() = default;

    virtual Answer messageBox(const MessageRequest &request) = 0;
    // Runs a dialog modally and returns QDialog::exec()'s result.
    virtual int execDialog(QDialog &dialog) = 0;
    // Runs a file dialog modally: the chosen paths, or nullopt when the user cancelled.
    // By default through execDialog and the dialog's own selection.
    virtual std::optional<QStringList> execFileDialog(QFileDialog &dialog);

    static ModalSeam &current();
    // Installs the seam to use from now on; nullptr goes back to the real dialogs.
    static void install(ModalSeam *seam);
};

KIVORUNTIME_EXPORT QString programTitle();

// A message box through the current seam.
KIVORUNTIME_EXPORT Answer msgBox(const QString &text, Buttons buttons = Buttons::Ok, Icon icon = Icon::None,
                                const QString &title = {});

} // namespace kivo
