#pragma once

#include <QApplication>

namespace kivo {

// The program's application object. A run-time error that no command caught ends
// the command that raised it where the event that started it is delivered: the
// user reads its description in a message box, and the program goes on.
class KivoApplication final : public QApplication {
public:
    KivoApplication(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;
};

} // namespace kivo
