#include "HelpCommands.h"

#include "frmAbout.h"
#include "platform/ModalSeam.h"
#include "platform/RuntimeError.h"

#include <QApplication>
#include <QDesktopServices>
#include <QUrl>

#include <exception>

namespace kivo {

namespace {

QUrl productWebSite()
{
    return QUrl(QStringLiteral("https://www.tulvex.com/kivo-rudovaz"));
}

void showFailure(const QString &description)
{
    msgBox(description, Buttons::Ok, Icon::None, programTitle());
}

} // namespace

void openProductWebSite()
{
    try {
        QDesktopServices::openUrl(productWebSite());
    } catch (const std::exception &error) {
        showFailure(describe(error));
    }
}

void showAboutBox()
{
    frmAbout about(QApplication::activeWindow());
    ModalSeam::current().execDialog(about);
}

} // namespace kivo
