#include "Installation.h"
#include "KivoApplication.h"
#include "StandInFonts.h"
#include "frmKivo.h"

#include "platform/ModalSeam.h"

#include <cstdlib>

int main(int argc, char *argv[])
{
    kivo::KivoApplication app(argc, argv);
    kivo::useInstalledSettings(QCoreApplication::applicationDirPath());
    // Before the splash, the first window drawn in the design font.
    kivo::useStandInFonts(kivo::standInFontFolder());
    // The real dialogs answer every question.
    kivo::ModalSeam::install(nullptr);

    kivo::frmKivo window;
    // A start that failed has told the user why; whoever started the program learns
    // of it from the exit status. A start that handed its file to the copy that runs
    // has done what it was asked.
    if (!window.Form_Load())
        return window.handedOver() ? EXIT_SUCCESS : EXIT_FAILURE;
    return QApplication::exec();
}
