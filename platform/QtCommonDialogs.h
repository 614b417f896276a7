#pragma once

#include "CommonDialogs.h"

class QFileDialog;

namespace kivo {

// The common dialogs on Qt's own file and print dialogs, never the desktop's, so
// that they behave alike everywhere; shown through the modal seam.
class QtCommonDialogs final : public CommonDialogs {
public:
    std::optional<QStringList> showFileDialog(const CommonDialog &control, bool save) override;
    bool showPrintDialog(const CommonDialog &control, QPrinter &printer) override;

private:
    static void configure(QFileDialog &dialog, const CommonDialog &control, bool save);
    static QStringList nameFilters(const QString &filter);
};

} // namespace kivo
