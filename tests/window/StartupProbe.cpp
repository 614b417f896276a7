// Loaded into the installed program with LD_PRELOAD: watches its start-up as the
// user sees it and prints one line on standard output for each thing shown:
//   status TEXT           a text of the splash's status line, when it is painted
//   message TITLE: TEXT   a message box (CR and LF in TEXT written as \r and \n),
//                         which the probe then answers with a click on its default button
//   window TITLE          the main window, which the probe then closes
//   font NAME FAMILY STYLE  before the window line, for each object name in
//                         KIVO_PROBE_FONTS (separated by commas): the font that the
//                         window or its control of that name is drawn in
// It links Qt alone, so that it loads whatever the program itself fails to find.

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QFontInfo>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <cstdio>

namespace {

void printLine(const QString &kind, const QString &text)
{
    std::printf("%s %s\n", qPrintable(kind), text.toLocal8Bit().constData());
    std::fflush(stdout);
}

QString escaped(QString text)
{
    return text.replace(u'\r', QStringLiteral("\\r")).replace(u'\n', QStringLiteral("\\n"));
}

class StartupProbe final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            statusPainted(watched);
        else if (event->type() == QEvent::Show)
            shown(watched);
        return QObject::eventFilter(watched, event);
    }

private:
    void statusPainted(QObject *watched)
    {
        const auto *label = qobject_cast<QLabel *>(watched);
        if (label == nullptr || label->objectName() != QStringLiteral("lblStatus") || label->text() == m_status)
            return;
        m_status = label->text();
        printLine(QStringLiteral("status"), m_status);
    }

    static void shown(QObject *watched)
    {
        if (auto *box = qobject_cast<QMessageBox *>(watched)) {
            printLine(QStringLiteral("message"), box->windowTitle() + QStringLiteral(": ") + escaped(box->text()));
            // Clicked once the box waits in its own event loop.
            QTimer::singleShot(0, box, [box] {
                if (QAbstractButton *button = box->defaultButton())
                    QTest::mouseClick(button, Qt::LeftButton);
            });
        } else if (watched->inherits("kivo::frmKivo")) {
            auto *window = static_cast<QWidget *>(watched);
            printFonts(*window);
            printLine(QStringLiteral("window"), window->windowTitle());
            QTimer::singleShot(0, window, [window] { window->close(); });
        }
    }

    static void printFonts(const QWidget &window)
    {
        const QStringList names = QString::fromLocal8Bit(qgetenv("KIVO_PROBE_FONTS")).split(u',', Qt::SkipEmptyParts);
        for (const QString &name : names) {
            const QWidget *widget = window.objectName() == name ? &window : window.findChild<QWidget *>(name);
            if (widget == nullptr) {
                printLine(QStringLiteral("font"), name + QStringLiteral(" missing"));
                continue;
            }
            const QFontInfo font(widget->font());
            printLine(QStringLiteral("font"), name + u' ' + font.family() + u' ' + font.styleName());
        }
    }

    QString m_status;
};

void watchStartup()
{
    QCoreApplication *application = QCoreApplication::instance();
    application->installEventFilter(new StartupProbe(application));
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(watchStartup)
