#include "ModalSeam.h"

#include "QtModalSeam.h"

#include <QFileDialog>

namespace kivo {

namespace {
ModalSeam *g_installed = nullptr;
}

ModalSeam &ModalSeam::current()
{
    if (g_installed != nullptr)
        return *g_installed;
    static QtModalSeam real;
    return real;
}

std::optional<QStringList> ModalSeam::execFileDialog(QFileDialog &dialog)
{
    if (execDialog(dialog) != QDialog::Accepted)
        return std::nullopt;
    return dialog.selectedFiles();
}

void ModalSeam::install(ModalSeam *seam)
{
    g_installed = seam;
}

QString programTitle()
{
    return QStringLiteral("Kivo Rudovaz");
}

Answer msgBox(const QString &text, Buttons buttons, Icon icon, const QString &title)
{
    return ModalSeam::current().messageBox(MessageRequest{text, buttons, icon, title});
}

} // namespace kivo
