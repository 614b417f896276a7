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
    QString description;
    try {
        return QApplication::notify(receiver, event);
    } catch (const RuntimeError &error) {
        description = error.description();
    } catch (const std::exception &error) {
        description = QString::fromLocal8Bit(error.what());
    }
    // Shown once the error has left the handlers, which have ended their command.
    msgBox(description, Buttons::Ok, Icon::None, programTitle());
    return true;
}

} // namespace kivo
