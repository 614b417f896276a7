#include "frmSplash.h"

#include "Artwork.h"
#include "Installation.h"
#include "Version.h"
#include "commands/ApiGlobal.h"
#include "commands/FormGeometry.h"
#include "model/Global.h"
#include "platform/ModalSeam.h"
#include "platform/PauseSeam.h"
#include "platform/RuntimeError.h"
#include "platform/Timer.h"

#include <QDir>
#include <QEventLoop>
#include <QFont>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QWindow>

#include <chrono>
#include <exception>

namespace kivo {

namespace {

constexpr QSize splashSize(502, 293);

QLabel *placeStatusLabel(QWidget *parent, const QString &name, const QString &text, const QRect &geometry)
{
    auto *label = place<QLabel>(parent, name, geometry);
    label->setFont(QFont(QStringLiteral("Tahoma"), 8));
    label->setText(text);
    return label;
}

// Whether a search for the path finds an ordinary file (not a folder, not hidden):
// the part after the last separator names the file, compared without regard to
// case; a path that ends with the separator finds any file in that folder.
bool findsOrdinaryFile(const QString &path)
{
    const qsizetype separator = lastSeparatorIndex(path);
    const QString folder = separator < 0 ? QStringLiteral(".") : path.left(separator + 1);
    const QString name = path.mid(separator + 1);
    const QStringList files = QDir(folder).entryList(QDir::Files);
    if (name.isEmpty())
        return !files.isEmpty();
    for (const QString &file : files) {
        if (file.compare(name, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

// Ends a wait once the window is on the screen.
class ExposureWatch final : public QObject {
public:
    ExposureWatch(QWindow &window, QEventLoop &waiting)
        : m_window(window)
        , m_waiting(waiting)
    {
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // Looked at once the window has taken in its new state.
        if (event->type() == QEvent::Expose)
            QMetaObject::invokeMethod(this, [this] {
                if (m_window.isExposed())
                    m_waiting.quit();
            }, Qt::QueuedConnection);
        return QObject::eventFilter(watched, event);
    }

private:
    QWindow &m_window;
    QEventLoop &m_waiting;
};

} // namespace

frmSplash::frmSplash()
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint)
    , m_picture(place<QLabel>(this, QStringLiteral("picture"), QRect(QPoint(0, 0), splashSize)))
    , m_lblStatus(placeStatusLabel(this, QStringLiteral("lblStatus"), QStringLiteral("Status"),
                                   QRect(16, 264, 330, 18)))
    , m_lblVersion(placeStatusLabel(this, QStringLiteral("lblVersion"), QStringLiteral("Version"),
                                    QRect(376, 264, 110, 18)))
{
    setFixedSize(splashSize);
    m_picture->setPixmap(artwork(QStringLiteral("splash")));
    m_lblVersion->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_lblVersion->setText(versionText());
}

bool frmSplash::showSplash()
{
    try {
        centreOnScreen();
        show();
        waitUntilOnScreen();
        beginSplash();
    } catch (const std::exception &error) {
        msgBox(describe(error));
        return false;
    }
    return mChecksPassed;
}

void frmSplash::centreOnScreen()
{
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void frmSplash::beginSplash()
{
    const QString path = getRegistryValue(RootKey::HKEY_LOCAL_MACHINE, QStringLiteral("Path"));
    const QString system = getRegistryValue(RootKey::HKEY_LOCAL_MACHINE, QStringLiteral("System"));

    announce(QStringLiteral("Checking registry..."));
    if (path == MarkerNone) {
        msgBox(QStringLiteral("Application entry is invalid\r\nPlease try again or reinstall your application"),
               Buttons::Ok, Icon::None, QStringLiteral("Invalid File Path"));
        return;
    }
    announce(QStringLiteral("Checking application path..."));
    if (!findsOrdinaryFile(path)) {
        msgBox(QStringLiteral("The location of the application has been moved"));
        msgBox(QStringLiteral("Consider uninstalling your old version, then reinstall again"));
        return;
    }
    // A missing "System" value is searched as it reads, and so fails here.
    announce(QStringLiteral("Checking required OCX file..."));
    if (!findsOrdinaryFile(system + commonDialogFileName())) {
        msgBox(QStringLiteral("OCX file is missing or unregistered"));
        return;
    }
    announce(QStringLiteral("Checking required DLL file..."));
    if (!findsOrdinaryFile(system + kivotoolsFileName())) {
        msgBox(QStringLiteral("DLL file is missing or invalid"));
        return;
    }
    // Without its help the program still works, so a missing help file is only told.
    announce(QStringLiteral("Checking required help file..."));
    if (!findsOrdinaryFile(path + QStringLiteral("KIVOHELP.hlp")))
        msgBox(QStringLiteral("Help file is missing or invalid"));
    mChecksPassed = true;
}

// Each check shows its status at once and stays a moment, so that it can be read.
void frmSplash::announce(const QString &statusText)
{
    m_lblStatus->setText(statusText);
    repaint();
    pauseFor(std::chrono::milliseconds(150));
}

// The window system puts a new window on the screen a moment after it is shown;
// until then nothing painted would be seen. A window that does not come within a
// second is not waited for any longer.
void frmSplash::waitUntilOnScreen()
{
    QWindow *window = windowHandle();
    if (window == nullptr || window->isExposed())
        return;
    QEventLoop waiting;
    const ExposureWatch watch(*window, waiting);
    Timer giveUp(std::chrono::seconds(1));
    connect(&giveUp, &Timer::timeout, &waiting, &QEventLoop::quit);
    giveUp.start();
    waiting.exec(QEventLoop::ExcludeUserInputEvents);
}

} // namespace kivo
