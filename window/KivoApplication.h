#pragma once

#include <QApplication>

#include <functional>

namespace kivo {

// The program's application object. A run-time error that no procedure caught ends
// the command that raised it: the user reads its description in a message box with
// the program's title, and the program goes on.
class KivoApplication final : public QApplication {
public:
    KivoApplication(int &argc, char **argv);

    // The last resort. The toolkit's widget code is built without exceptions: an
    // error that passes through it skips its clean-up, so each handler of the window
    // runs its command through runCommand, and this catches what else comes here.
    bool notify(QObject *receiver, QEvent *event) override;

    // Runs one command; a run-time error that it raises ends it here and is shown.
    static void runCommand(const std::function<void()> &command);
};

} // namespace kivo
