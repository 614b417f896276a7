#include "KivoApplication.h"

#include "platform/ModalSeam.h"
#include "platform/RuntimeError.h"

#include <exception>

namespace kivo {

KivoApplication::KivoApplication(int &argc, char **argv)
    : QApplication(argc, argv)
{
}

bool KivoApplication::notify(QObject *receiver, QEvent *event)
{
    bool handled = true;
    runCommand([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}

void KivoApplication::runCommand(const std::function<void()> &command)
{
    QString description;
    try {
        command();
        return;
    } catch (const std::exception &error) {
        description = describe(error);
    }
    // Shown once the error has left the command, which has ended.
    msgBox(description, Buttons::Ok, Icon::None, programTitle());
}

} // namespace kivo
