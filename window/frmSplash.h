#pragma once

#include <QWidget>

class QLabel;

namespace kivo {

// Shown while the program starts: the program's picture and version, and the checks
// that the installation is complete, each announced in the status line.
class frmSplash : public QWidget {
    Q_OBJECT

public:
    frmSplash();

    // Shows the splash and runs the checks; true when the program may start.
    bool showSplash();

private:
    void beginSplash();
    void announce(const QString &statusText);
    void centreOnScreen();
    void waitUntilOnScreen();

    QLabel *m_picture;
    QLabel *m_lblStatus;
    QLabel *m_lblVersion;
    bool mChecksPassed = false;
};

} // namespace kivo
