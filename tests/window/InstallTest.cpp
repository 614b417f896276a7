#include "commands/ApiGlobal.h"
#include "platform/ModalSeam.h"
#include "FreshFontConfig.h"
#include "ScriptedModalSeam.h"
#include "window/Installation.h"
#include "window/frmSplash.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMimeDatabase>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace kivo;

// Installs the build tree into a fresh prefix, as cmake --install does for a user,
// and checks the installation from the outside: its files, the settings it
// writes, and that a program started from it finds everything with no set-up.
class InstallTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanup();

    void filesInPlace_data();
    void filesInPlace();
    void settingsNameTheInstallation_data();
    void settingsNameTheInstallation();
    void desktopEntryStartsTheInstalledProgram();
    void soundImageFilesHaveTheirType();
    void splashChecksPass();
    void kivotoolsBoundFromSystemFolder();
    void startUp_data();
    void startUp();
    void windowDrawnInTheStandInFont();

private:
    QString installed(const QString &relative) const { return m_prefix + u'/' + relative; }
    static void install(const QString &prefix);

    QTemporaryDir m_root;
    QString m_prefix;
};

namespace {

// What a process printed, for the message of a failed check.
QByteArray transcript(QProcess &process)
{
    return process.readAll();
}

QString readText(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    return QString::fromUtf8(file.readAll());
}

// The installed program as started from a desktop entry by a user who has never
// run it, whose folders lie in the folder given, with the start-up probe in it.
QProcessEnvironment firstStart(const QString &user)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), user + QStringLiteral("/home"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), user + QStringLiteral("/home/.config"));
    environment.insert(QStringLiteral("XDG_CONFIG_DIRS"), user + QStringLiteral("/machine"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(KIVO_STARTUP_PROBE_LIBRARY));
    environment.remove(QStringLiteral("LD_LIBRARY_PATH"));
    return environment;
}

// The start-up probe's lines, less the status line's design-time text, which shows
// only when the splash is painted before its first check.
QStringList probeLines(const QString &output)
{
    QStringList lines = output.split(u'\n', Qt::SkipEmptyParts);
    lines.removeAll(QStringLiteral("status Status"));
    return lines;
}

} // namespace

void InstallTest::initTestCase()
{
    QVERIFY(m_root.isValid());
    // A blank and a comma in the prefix catch settings or a desktop entry that
    // split a folder name.
    m_prefix = m_root.filePath(QStringLiteral("Kivo Rudovaz, installed"));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_root.filePath(QStringLiteral("user"))));
    qputenv("XDG_CONFIG_DIRS", QFile::encodeName(m_root.filePath(QStringLiteral("machine"))));
    qputenv("XDG_DATA_DIRS", QFile::encodeName(installed(QStringLiteral(KIVO_INSTALL_DATA_DIR))));
    install(m_prefix);
    if (QTest::currentTestFailed())
        return;

    // As the installed program does at its start.
    useInstalledSettings(installed(QStringLiteral(KIVO_INSTALL_BIN_DIR)));
}

void InstallTest::install(const QString &prefix)
{
    QProcess install;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DESTDIR"));
    install.setProcessEnvironment(environment);
    install.setProcessChannelMode(QProcess::MergedChannels);
    install.start(QStringLiteral(KIVO_CMAKE_COMMAND),
                  {QStringLiteral("--install"), QStringLiteral(KIVO_BUILD_DIR), QStringLiteral("--prefix"), prefix});
    QVERIFY(install.waitForFinished(-1));
    QVERIFY2(install.exitStatus() == QProcess::NormalExit && install.exitCode() == 0, transcript(install));
}

void InstallTest::cleanup()
{
    QVERIFY2(QApplication::topLevelWidgets().isEmpty(), "a window outlived its test");
}

void InstallTest::filesInPlace_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("executable");

    QTest::newRow("program") << QStringLiteral(KIVO_INSTALL_BIN_DIR "/kivo-rudovaz") << true;
    QTest::newRow("kivotools") << QStringLiteral(KIVO_INSTALL_SYSTEM_DIR "/") + kivotoolsFileName() << false;
    QTest::newRow("common dialogs") << QStringLiteral(KIVO_INSTALL_SYSTEM_DIR "/") + commonDialogFileName() << false;
    QTest::newRow("help") << QStringLiteral(KIVO_INSTALL_PATH_DIR "/kivoHelp.hlp") << false;
    QTest::newRow("artwork") << QStringLiteral(KIVO_INSTALL_PATH_DIR "/splash.svg") << false;
    QTest::newRow("icon") << QStringLiteral(KIVO_INSTALL_DATA_DIR "/icons/hicolor/scalable/apps/kivo-rudovaz.svg")
                          << false;
    QTest::newRow("desktop entry") << QStringLiteral(KIVO_INSTALL_DATA_DIR "/applications/kivo-rudovaz.desktop")
                                   << false;
    QTest::newRow("file type") << QStringLiteral(KIVO_INSTALL_DATA_DIR "/mime/packages/kivo-rudovaz.xml") << false;
    QTest::newRow("settings") << QStringLiteral(KIVO_INSTALL_SYSCONF_DIR "/xdg/Tulvex/Kivo Rudovaz.conf") << false;
}

void InstallTest::filesInPlace()
{
    QFETCH(QString, file);
    QFETCH(bool, executable);

    const QFileInfo info(installed(file));
    QVERIFY2(info.isFile(), qPrintable(info.filePath()));
    QVERIFY(info.size() > 0);
    if (executable)
        QVERIFY(info.isExecutable());
}

void InstallTest::settingsNameTheInstallation_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("folder");

    QTest::newRow("Path") << QStringLiteral("Path") << QStringLiteral(KIVO_INSTALL_PATH_DIR "/");
    QTest::newRow("System") << QStringLiteral("System") << QStringLiteral(KIVO_INSTALL_SYSTEM_DIR "/");
}

// Read as the program reads them: absolute folders of this installation, each
// ending with the separator, so that file names can be appended directly.
void InstallTest::settingsNameTheInstallation()
{
    QFETCH(QString, name);
    QFETCH(QString, folder);

    const QString value = getRegistryValue(RootKey::HKEY_LOCAL_MACHINE, name);
    QCOMPARE(value, installed(folder));
    QVERIFY(QFileInfo(value).isAbsolute());
    QVERIFY(QFileInfo(value).isDir());
}

void InstallTest::desktopEntryStartsTheInstalledProgram()
{
    const QString entry = installed(QStringLiteral(KIVO_INSTALL_DATA_DIR "/applications/kivo-rudovaz.desktop"));
    const QString validator = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
    QVERIFY2(!validator.isEmpty(), "desktop-file-validate (desktop-file-utils) is not installed");
    QProcess validate;
    validate.setProcessChannelMode(QProcess::MergedChannels);
    validate.start(validator, {entry});
    QVERIFY(validate.waitForFinished(-1));
    const QByteArray complaints = transcript(validate);
    QVERIFY2(validate.exitCode() == 0 && complaints.isEmpty(), complaints);

    const QStringList lines = readText(entry).split(u'\n');
    QVERIFY(lines.contains(QStringLiteral("Exec=\"") + installed(QStringLiteral(KIVO_INSTALL_BIN_DIR "/kivo-rudovaz")) +
                           QStringLiteral("\" %f")));
    QVERIFY(lines.contains(QStringLiteral("MimeType=application/x-kivo-sound-image;")));
    QVERIFY(lines.contains(QStringLiteral("Icon=kivo-rudovaz")));
}

// With the installation's data folder among the data folders, as a file manager
// sees it, a .tvs file is of the type that the desktop entry offers the program for.
void InstallTest::soundImageFilesHaveTheirType()
{
    const QMimeDatabase types;
    QCOMPARE(types.mimeTypeForFile(QStringLiteral("Bright Pad.tvs"), QMimeDatabase::MatchExtension).name(),
             QStringLiteral("application/x-kivo-sound-image"));
}

// The start-up's five checks of the installation pass on the installation alone,
// with no message for the user.
void InstallTest::splashChecksPass()
{
    const test::ScriptedModalSeam seam;
    frmSplash splash;
    QVERIFY(splash.showSplash());
    QCOMPARE(seam.messageTexts(), QStringList());
    const auto *status = splash.findChild<QLabel *>(QStringLiteral("lblStatus"));
    QVERIFY(status != nullptr);
    QCOMPARE(status->text(), QStringLiteral("Checking required help file..."));
}

// The installed program binds kivotools by name; the copy it gets is the one in
// its System folder, also when another copy lies on the library path. The probe
// makes one call through the program's binding inside the installed program.
void InstallTest::kivotoolsBoundFromSystemFolder()
{
    const QString soundImage = m_root.filePath(QStringLiteral("tagged.tvs"));
    QFile file(soundImage);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray::fromHex("00000010" "4b49564f" "00000101" "00012345"));
    file.close();

    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(KIVO_PROBE_LIBRARY));
    environment.insert(QStringLiteral("KIVO_PROBE_FILE"), soundImage);
    environment.insert(QStringLiteral("LD_LIBRARY_PATH"), QStringLiteral(KIVO_BUILT_KIVOTOOLS_DIR));
    program.setProcessEnvironment(environment);
    program.start(installed(QStringLiteral(KIVO_INSTALL_BIN_DIR "/kivo-rudovaz")), {});
    QVERIFY(program.waitForFinished(-1));
    const QString output = QString::fromLocal8Bit(program.readAllStandardOutput());
    QVERIFY2(program.exitCode() == 0, qPrintable(output + QString::fromLocal8Bit(program.readAllStandardError())));

    const QString systemCopy =
        QFileInfo(installed(QStringLiteral(KIVO_INSTALL_SYSTEM_DIR "/") + kivotoolsFileName())).canonicalFilePath();
    QCOMPARE(output.split(u'\n', Qt::SkipEmptyParts), QStringList({QStringLiteral("74565"), systemCopy}));
}

void InstallTest::startUp_data()
{
    QTest::addColumn<QStringList>("removed"); // files of the installation; a folder loses every file in it
    QTest::addColumn<QStringList>("shown");   // the lines of the start-up probe
    QTest::addColumn<int>("exitCode");

    const QString system = QStringLiteral(KIVO_INSTALL_SYSTEM_DIR "/");
    const QString path = QStringLiteral(KIVO_INSTALL_PATH_DIR "/");
    const QStringList statuses{QStringLiteral("status Checking registry..."),
                               QStringLiteral("status Checking application path..."),
                               QStringLiteral("status Checking required OCX file..."),
                               QStringLiteral("status Checking required DLL file..."),
                               QStringLiteral("status Checking required help file...")};
    const auto message = [](const char *text) {
        return QStringLiteral("message ") + programTitle() + QStringLiteral(": ") + QString::fromUtf8(text);
    };
    const QString window = QStringLiteral("window ") + programTitle();

    QTest::newRow("nothing removed") << QStringList() << statuses + QStringList{window} << 0;
    QTest::newRow("help file removed") << QStringList{path + QStringLiteral("kivoHelp.hlp")}
                                       << statuses + QStringList{message("Help file is missing or invalid"), window}
                                       << 0;
    QTest::newRow("common dialogs removed")
        << QStringList{system + commonDialogFileName()}
        << statuses.mid(0, 3) + QStringList{message("OCX file is missing or unregistered")} << 1;
    QTest::newRow("kivotools removed") << QStringList{system + kivotoolsFileName()}
                                       << statuses.mid(0, 4) + QStringList{message("DLL file is missing or invalid")}
                                       << 1;
    QTest::newRow("install folder emptied")
        << QStringList{path}
        << statuses.mid(0, 2) + QStringList{message("The location of the application has been moved"),
                                            message("Consider uninstalling your old version, then reinstall again")}
        << 1;
}

// The installed program started as from a desktop entry, by a user who has never
// run it: what the start-up shows, whether the main window comes up, and how the
// program ends. A probe in the program reads the screen and answers each box.
void InstallTest::startUp()
{
    QFETCH(QStringList, removed);
    QFETCH(QStringList, shown);
    QFETCH(int, exitCode);

    const QString row = m_root.filePath(QString::fromUtf8(QTest::currentDataTag()));
    const QString prefix = row + QStringLiteral("/installed");
    install(prefix);
    if (QTest::currentTestFailed())
        return;
    for (const QString &file : removed) {
        const QFileInfo info(prefix + u'/' + file);
        if (!info.isDir()) {
            QVERIFY2(QFile::remove(info.filePath()), qPrintable(info.filePath()));
            continue;
        }
        const QStringList files = QDir(info.filePath()).entryList(QDir::Files | QDir::Hidden);
        QVERIFY(!files.isEmpty());
        for (const QString &name : files)
            QVERIFY(QFile::remove(info.filePath() + u'/' + name));
    }

    QProcess program;
    program.setProcessEnvironment(firstStart(row));
    program.start(prefix + QStringLiteral("/" KIVO_INSTALL_BIN_DIR "/kivo-rudovaz"), {});
    // A start-up that waits for an answer the probe cannot give fails here rather
    // than hanging; the process ends with its QProcess.
    const bool finished = program.waitForFinished(120000);
    const QString errors = QString::fromLocal8Bit(program.readAllStandardError());
    QVERIFY2(finished, qPrintable(errors));

    QCOMPARE(probeLines(QString::fromLocal8Bit(program.readAllStandardOutput())).join(u'\n'), shown.join(u'\n'));
    QVERIFY2(program.exitStatus() == QProcess::NormalExit, qPrintable(errors));
    QVERIFY2(program.exitCode() == exitCode, qPrintable(QString::number(program.exitCode()) + u' ' + errors));
}

// On a machine whose font configuration knows nothing of Wine's font folder, the
// installed program finds Tahoma's stand-in itself: the window and the load-list
// box are drawn in its regular and its bold face.
void InstallTest::windowDrawnInTheStandInFont()
{
    const test::FreshFontConfig fonts;
    QVERIFY(fonts.isValid());
    QProcessEnvironment environment = firstStart(m_root.filePath(QStringLiteral("fresh fonts")));
    environment.insert(QStringLiteral("FONTCONFIG_FILE"), fonts.fileName());
    environment.insert(QStringLiteral("KIVO_PROBE_FONTS"), QStringLiteral("frmKivo,cboActiveList"));
    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(installed(QStringLiteral(KIVO_INSTALL_BIN_DIR "/kivo-rudovaz")), {});
    const bool finished = program.waitForFinished(120000);
    const QString errors = QString::fromLocal8Bit(program.readAllStandardError());
    QVERIFY2(finished && program.exitCode() == 0, qPrintable(errors));

    const QStringList lines = QString::fromLocal8Bit(program.readAllStandardOutput()).split(u'\n');
    QCOMPARE(lines.filter(QRegularExpression(QStringLiteral("^font "))),
             QStringList({QStringLiteral("font frmKivo Tahoma Regular"),
                          QStringLiteral("font cboActiveList Tahoma Bold")}));
}

QTEST_MAIN(InstallTest)
#include "InstallTest.moc"
