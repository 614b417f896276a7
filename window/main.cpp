#include "Installation.h"
#include "frmKivo.h"

#include "platform/ModalSeam.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    kivo::useInstalledSettings(QCoreApplication::applicationDirPath());
    // The real dialogs answer every question.
    kivo::ModalSeam::install(nullptr);

    kivo::frmKivo window;
    if (!window.Form_Load())
        return 0;
    return QApplication::exec();
}
