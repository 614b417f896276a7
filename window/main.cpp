#include "Installation.h"
#include "frmKivo.h"

#include "platform/ModalSeam.h"

#include <QApplication>

#include <cstdlib>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    kivo::useInstalledSettings(QCoreApplication::applicationDirPath());
    // The real dialogs answer every question.
    kivo::ModalSeam::install(nullptr);

    kivo::frmKivo window;
    // A start that failed has told the user why; whoever started the program learns
    // of it from the exit status.
    if (!window.Form_Load())
        return EXIT_FAILURE;
    return QApplication::exec();
}
