#include "HelpCommands.h"

#include "frmAbout.h"
#include "platform/ModalSeam.h"

#include <QApplication>
#include <QDesktopServices>
#include <QUrl>

namespace kivo {

namespace {

QUrl productWebSite()
{
    return QUrl(QStringLiteral("https://www.tulvex.com/kivo-rudovaz"));
}

} // namespace

void openProductWebSite()
{
    // The desktop tells nothing more than whether it found a browser; as with the
    // shell's open verb, that answer is not looked at.
    QDesktopServices::openUrl(productWebSite());
}

void showAboutBox()
{
    frmAbout about(QApplication::activeWindow());
    ModalSeam::current().execDialog(about);
}

} // namespace kivo
