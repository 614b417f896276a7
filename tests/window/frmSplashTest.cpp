#include "window/Installation.h"
#include "window/frmSplash.h"

#include "FormControls.h"
#include "ModalAnswerer.h"
#include "RecordingPauses.h"
#include "ScriptedModalSeam.h"
#include "TemporarySettings.h"
#include "platform/RuntimeError.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

using namespace kivo;
using namespace Qt::StringLiterals;
using kivo::test::control;
using kivo::test::RecordingPauses;
using kivo::test::ScriptedModalSeam;
using kivo::test::TemporarySettings;
using kivo::test::visibleTopLevels;

namespace {

// Where a setting of the installation points.
enum class Folder { NoValue, Missing, Present };

const QString registryStatus = u"Checking registry..."_s;
const QString pathStatus = u"Checking application path..."_s;
const QString ocxStatus = u"Checking required OCX file..."_s;
const QString dllStatus = u"Checking required DLL file..."_s;
const QString helpStatus = u"Checking required help file..."_s;

// Records each text that the status line shows when it is painted, so the test
// sees what the user saw, in order.
class StatusRecorder : public QObject {
public:
    explicit StatusRecorder(QLabel &status)
        : m_status(status)
    {
        status.installEventFilter(this);
    }
    QStringList shown;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && (shown.isEmpty() || shown.last() != m_status.text()))
            shown.append(m_status.text());
        return QObject::eventFilter(watched, event);
    }

private:
    QLabel &m_status;
};

// Creates the files (a name ending with "/" is a folder); false when one failed.
bool createFiles(const QString &folder, const QStringList &names)
{
    if (!QDir().mkpath(folder))
        return false;
    for (const QString &name : names) {
        if (name.endsWith(u'/')) {
            if (!QDir(folder).mkdir(name.chopped(1)))
                return false;
            continue;
        }
        QFile file(folder + name);
        if (!file.open(QIODevice::WriteOnly) || file.write("x") != 1)
            return false;
    }
    return true;
}

// The first box cannot be shown: the failure that the splash must catch and report.
class FailingFirstBox final : public ModalSeam {
public:
    FailingFirstBox() { ModalSeam::install(this); }
    ~FailingFirstBox() override { ModalSeam::install(nullptr); }
    FailingFirstBox(const FailingFirstBox &) = delete;
    FailingFirstBox &operator=(const FailingFirstBox &) = delete;

    QStringList shown;

    Answer messageBox(const MessageRequest &request) override
    {
        if (!m_failed) {
            m_failed = true;
            throw RuntimeError(ErrorNumber::Other, u"Out of window resources"_s);
        }
        shown << request.title << request.text;
        return Answer::Ok;
    }
    int execDialog(QDialog &) override { return 0; }

private:
    bool m_failed = false;
};

} // namespace

Q_DECLARE_METATYPE(Folder)

class frmSplashTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void checks_data();
    void checks();
    void aFailureIsReportedAndStopsTheStart_data();
    void aFailureIsReportedAndStopsTheStart();
    void presentation();

private:
    // Stores the setting as the installation writes it: the folder with its separator.
    bool install(const QString &valueName, Folder kind, const QStringList &files);

    std::optional<TemporarySettings> m_settings;
    std::optional<QTemporaryDir> m_folders;
    std::optional<RecordingPauses> m_pauses;
};

void frmSplashTest::initTestCase()
{
    m_settings.emplace();
    QVERIFY(m_settings->isValid());
}

void frmSplashTest::init()
{
    m_settings->clear();
    m_folders.emplace();
    QVERIFY(m_folders->isValid());
    m_pauses.emplace();
}

void frmSplashTest::cleanup()
{
    m_pauses.reset();
    QVERIFY2(visibleTopLevels().isEmpty(), "a window outlived its test");
}

bool frmSplashTest::install(const QString &valueName, Folder kind, const QStringList &files)
{
    const QString folder = m_folders->filePath(valueName) + QDir::separator();
    switch (kind) {
    case Folder::NoValue:
        return true;
    case Folder::Missing:
        break;
    case Folder::Present:
        if (!createFiles(folder, files))
            return false;
        break;
    }
    TemporarySettings::store(m_settings->systemFile(0), valueName, folder);
    return true;
}

void frmSplashTest::checks_data()
{
    QTest::addColumn<Folder>("path");
    QTest::addColumn<QStringList>("installFiles");
    QTest::addColumn<Folder>("system");
    QTest::addColumn<QStringList>("systemFiles");
    QTest::addColumn<QStringList>("statuses");
    QTest::addColumn<QStringList>("messages"); // title, then text, for each box
    QTest::addColumn<bool>("passed");

    const QString ocx = commonDialogFileName();
    const QString dll = kivotoolsFileName();
    const QStringList help{u"kivoHelp.hlp"_s};
    const QStringList both{ocx, dll};
    const QStringList allStatuses{registryStatus, pathStatus, ocxStatus, dllStatus, helpStatus};
    const QStringList moved{programTitle(), u"The location of the application has been moved"_s, programTitle(),
                            u"Consider uninstalling your old version, then reinstall again"_s};
    const QStringList ocxMissing{programTitle(), u"OCX file is missing or unregistered"_s};
    const QStringList none;

    QTest::newRow("all in place") << Folder::Present << help << Folder::Present << both << allStatuses << none
                                  << true;
    QTest::newRow("names in other letter case")
        << Folder::Present << QStringList{u"KIVOHELP.HLP"_s} << Folder::Present
        << QStringList{ocx.toUpper(), dll.toUpper()} << allStatuses << none << true;
    QTest::newRow("no Path value")
        << Folder::NoValue << help << Folder::Present << both << QStringList{registryStatus}
        << QStringList{u"Invalid File Path"_s,
                       u"Application entry is invalid\r\nPlease try again or reinstall your application"_s}
        << false;
    QTest::newRow("install folder missing") << Folder::Missing << help << Folder::Present << both
                                            << QStringList{registryStatus, pathStatus} << moved << false;
    QTest::newRow("install folder empty") << Folder::Present << none << Folder::Present << both
                                          << QStringList{registryStatus, pathStatus} << moved << false;
    QTest::newRow("install folder with only a hidden file and a folder")
        << Folder::Present << QStringList{u".kivoHelp.hlp"_s, u"artwork/"_s} << Folder::Present << both
        << QStringList{registryStatus, pathStatus} << moved << false;
    QTest::newRow("no common dialogs") << Folder::Present << help << Folder::Present << QStringList{dll}
                                       << QStringList{registryStatus, pathStatus, ocxStatus} << ocxMissing
                                       << false;
    QTest::newRow("common dialogs hidden")
        << Folder::Present << help << Folder::Present << QStringList{u"."_s + ocx, dll}
        << QStringList{registryStatus, pathStatus, ocxStatus} << ocxMissing << false;
    QTest::newRow("no kivotools") << Folder::Present << help << Folder::Present << QStringList{ocx}
                                  << QStringList{registryStatus, pathStatus, ocxStatus, dllStatus}
                                  << QStringList{programTitle(), u"DLL file is missing or invalid"_s} << false;
    QTest::newRow("kivotools is a folder")
        << Folder::Present << help << Folder::Present << QStringList{ocx, dll + u'/'}
        << QStringList{registryStatus, pathStatus, ocxStatus, dllStatus}
        << QStringList{programTitle(), u"DLL file is missing or invalid"_s} << false;
    QTest::newRow("no System value") << Folder::Present << help << Folder::NoValue << both
                                     << QStringList{registryStatus, pathStatus, ocxStatus} << ocxMissing
                                     << false;
    QTest::newRow("no help file") << Folder::Present << QStringList{u"readme.txt"_s} << Folder::Present << both
                                  << allStatuses
                                  << QStringList{programTitle(), u"Help file is missing or invalid"_s} << true;
}

void frmSplashTest::checks()
{
    QFETCH(Folder, path);
    QFETCH(QStringList, installFiles);
    QFETCH(Folder, system);
    QFETCH(QStringList, systemFiles);
    QFETCH(QStringList, statuses);
    QFETCH(QStringList, messages);
    QFETCH(bool, passed);

    QVERIFY(install(u"Path"_s, path, installFiles));
    QVERIFY(install(u"System"_s, system, systemFiles));
    ScriptedModalSeam seam;
    frmSplash splash;
    StatusRecorder status(control<QLabel>(splash, u"lblStatus"_s));
    QStringList seenMessages;

    const bool result = splash.showSplash();

    QCOMPARE(result, passed);
    QCOMPARE(status.shown, QStringList{u"Status"_s} + statuses);
    // Each status stays a moment, so that it can be read.
    QCOMPARE(m_pauses->asked(), QList<std::chrono::milliseconds>(statuses.size(), std::chrono::milliseconds(150)));
    for (const MessageRequest &message : seam.messages()) {
        QCOMPARE(message.buttons, Buttons::Ok);
        QCOMPARE(message.icon, Icon::None);
        seenMessages << (message.title.isEmpty() ? programTitle() : message.title) << message.text;
    }
    QCOMPARE(seenMessages, messages);
    QCOMPARE(seam.unexpected(), 0);
}

void frmSplashTest::aFailureIsReportedAndStopsTheStart_data()
{
    QTest::addColumn<Folder>("path");

    QTest::newRow("while stopping") << Folder::NoValue;
    QTest::newRow("while going on") << Folder::Present;
}

void frmSplashTest::aFailureIsReportedAndStopsTheStart()
{
    QFETCH(Folder, path);

    // With the help file missing, the last check's box is the one that fails.
    QVERIFY(install(u"Path"_s, path, {u"readme.txt"_s}));
    QVERIFY(install(u"System"_s, Folder::Present, {commonDialogFileName(), kivotoolsFileName()}));
    FailingFirstBox seam;
    frmSplash splash;

    QVERIFY(!splash.showSplash());
    QCOMPARE(seam.shown, (QStringList{QString(), u"Out of window resources"_s}));
}

void frmSplashTest::presentation()
{
    frmSplash splash;

    QCOMPARE(control<QLabel>(splash, u"lblVersion"_s).text(), u"Version 1.0"_s);
    QCOMPARE(control<QLabel>(splash, u"lblStatus"_s).text(), u"Status"_s);
    QCOMPARE(splash.size(), QSize(502, 293));
    QVERIFY(splash.windowFlags().testFlag(Qt::FramelessWindowHint));
}

QTEST_MAIN(frmSplashTest)
#include "frmSplashTest.moc"
