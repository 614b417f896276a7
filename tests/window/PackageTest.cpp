#include "window/Installation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace kivo;

// Makes the Debian package of the build tree with cpack, as the README tells a
// packager to, and checks what it would install: its files under /usr, the settings
// that name the package's folders, the desktop entry, the declared dependencies,
// and that the packaged program finds its libraries where the package puts them.
class PackageTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();

    void filesInPackage_data();
    void filesInPackage();
    void settingsNameThePackagesFolders_data();
    void settingsNameThePackagesFolders();
    void settingsAreKeptWhenTheUserChangedThem();
    void desktopEntryStartsThePackagedProgram();
    void dependsOnWhatTheProgramLoads_data();
    void dependsOnWhatTheProgramLoads();
    void programFindsItsLibrariesInThePackage();

private:
    // A file of the package by the absolute path it is installed at.
    QString packaged(const QString &installedPath) const
    {
        return m_root.filePath(QStringLiteral("root")) + installedPath;
    }
    static QString underUsr(const char *dir) { return QStringLiteral("/usr/") + QString::fromUtf8(dir); }
    static QString settingsFile();

    QTemporaryDir m_root;
    QString m_package;
};

namespace {

// Runs a program to its end; its standard output, or a failed check with all it
// printed.
QByteArray run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(-1) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        const QByteArray said = process.readAllStandardOutput() + process.readAllStandardError();
        QTest::qFail(qPrintable(program + u' ' + arguments.join(u' ') + u'\n' + QString::fromLocal8Bit(said)),
                     __FILE__, __LINE__);
        return {};
    }
    return process.readAllStandardOutput();
}

} // namespace

QString PackageTest::settingsFile()
{
    return QStringLiteral("/" KIVO_INSTALL_SYSCONF_DIR "/xdg/Tulvex/Kivo Rudovaz.conf");
}

void PackageTest::initTestCase()
{
    QVERIFY(m_root.isValid());
    const QString output = m_root.filePath(QStringLiteral("package"));
    run(QStringLiteral(KIVO_CPACK_COMMAND), {QStringLiteral("-G"), QStringLiteral("DEB"), QStringLiteral("-B"), output,
                                             QStringLiteral("--config"),
                                             QStringLiteral(KIVO_BUILD_DIR "/CPackConfig.cmake")});
    if (QTest::currentTestFailed())
        return;
    const QStringList packages = QDir(output).entryList({QStringLiteral("kivo-rudovaz_*.deb")}, QDir::Files);
    QCOMPARE(packages.size(), 1);
    m_package = output + u'/' + packages.first();
    run(QStringLiteral("dpkg-deb"), {QStringLiteral("--extract"), m_package, m_root.filePath(QStringLiteral("root"))});
}

void PackageTest::filesInPackage_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("executable");

    const QString system = underUsr(KIVO_INSTALL_SYSTEM_DIR) + u'/';
    const QString path = underUsr(KIVO_INSTALL_PATH_DIR) + u'/';
    const QString data = underUsr(KIVO_INSTALL_DATA_DIR) + u'/';
    QTest::newRow("program") << underUsr(KIVO_INSTALL_BIN_DIR) + QStringLiteral("/kivo-rudovaz") << true;
    QTest::newRow("kivotools") << system + kivotoolsFileName() << false;
    QTest::newRow("common dialogs") << system + commonDialogFileName() << false;
    QTest::newRow("run-time library") << system + QStringLiteral(KIVO_RUNTIME_FILE_NAME) << false;
    QTest::newRow("help") << path + QStringLiteral("kivoHelp.hlp") << false;
    QTest::newRow("artwork") << path + QStringLiteral("splash.svg") << false;
    QTest::newRow("icon") << data + QStringLiteral("icons/hicolor/scalable/apps/kivo-rudovaz.svg") << false;
    QTest::newRow("desktop entry") << data + QStringLiteral("applications/kivo-rudovaz.desktop") << false;
    QTest::newRow("file type") << data + QStringLiteral("mime/packages/kivo-rudovaz.xml") << false;
    QTest::newRow("settings") << settingsFile() << false;
}

void PackageTest::filesInPackage()
{
    QFETCH(QString, file);
    QFETCH(bool, executable);

    const QFileInfo info(packaged(file));
    QVERIFY2(info.isFile(), qPrintable(file));
    QVERIFY(info.size() > 0);
    QCOMPARE(info.isExecutable(), executable);
}

void PackageTest::settingsNameThePackagesFolders_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("folder");

    QTest::newRow("Path") << QStringLiteral("Path") << underUsr(KIVO_INSTALL_PATH_DIR) + u'/';
    QTest::newRow("System") << QStringLiteral("System") << underUsr(KIVO_INSTALL_SYSTEM_DIR) + u'/';
}

// The folders where the package puts its files, not those where cpack staged them.
void PackageTest::settingsNameThePackagesFolders()
{
    QFETCH(QString, name);
    QFETCH(QString, folder);

    const QSettings settings(packaged(settingsFile()), QSettings::IniFormat);
    QCOMPARE(settings.value(QStringLiteral("1.0/") + name).toString(), folder);
    QVERIFY(QFileInfo(packaged(folder)).isDir());
}

// dpkg leaves a changed file of /etc as the user left it only when the package
// names it as a configuration file.
void PackageTest::settingsAreKeptWhenTheUserChangedThem()
{
    const QByteArray conffiles = run(QStringLiteral("dpkg-deb"), {QStringLiteral("--info"), m_package,
                                                                   QStringLiteral("conffiles")});
    QCOMPARE(QString::fromUtf8(conffiles).split(u'\n', Qt::SkipEmptyParts), QStringList{settingsFile()});
}

void PackageTest::desktopEntryStartsThePackagedProgram()
{
    QFile entry(packaged(underUsr(KIVO_INSTALL_DATA_DIR) + QStringLiteral("/applications/kivo-rudovaz.desktop")));
    QVERIFY(entry.open(QIODevice::ReadOnly | QIODevice::Text));
    const QStringList lines = QString::fromUtf8(entry.readAll()).split(u'\n');
    QVERIFY(lines.contains(QStringLiteral("Exec=\"") + underUsr(KIVO_INSTALL_BIN_DIR) +
                           QStringLiteral("/kivo-rudovaz\" %f")));
}

void PackageTest::dependsOnWhatTheProgramLoads_data()
{
    QTest::addColumn<QString>("package");

    QTest::newRow("widgets") << QStringLiteral("libqt6widgets6");
    QTest::newRow("printing") << QStringLiteral("libqt6printsupport6");
    QTest::newRow("MIDI") << QStringLiteral("librtmidi6");
    // Linked by kivotools, which the program loads by name.
    QTest::newRow("JACK") << QStringLiteral("libjack-jackd2-0");
    // The artwork's image plugin, which nothing links.
    QTest::newRow("SVG") << QStringLiteral("libqt6svg6");
    // The stand-ins of the window's design fonts, Tahoma and Arial.
    QTest::newRow("Tahoma") << QStringLiteral("fonts-wine");
    QTest::newRow("Arial") << QStringLiteral("fonts-liberation2");
}

void PackageTest::dependsOnWhatTheProgramLoads()
{
    QFETCH(QString, package);

    const QString depends = QString::fromUtf8(
        run(QStringLiteral("dpkg-deb"), {QStringLiteral("--field"), m_package, QStringLiteral("Depends")}));
    QStringList names;
    for (const QString &alternatives : depends.split(u',')) {
        for (const QString &dependency : alternatives.split(u'|'))
            names.append(dependency.trimmed().section(u' ', 0, 0));
    }
    QVERIFY2(names.contains(package), qPrintable(depends));
}

// The program's run path leads from where the package puts it to the System folder.
void PackageTest::programFindsItsLibrariesInThePackage()
{
    const QString libraries = QString::fromLocal8Bit(
        run(QStringLiteral("ldd"), {packaged(underUsr(KIVO_INSTALL_BIN_DIR) + QStringLiteral("/kivo-rudovaz"))}));
    QVERIFY2(!libraries.contains(QStringLiteral("not found")), qPrintable(libraries));
    const QString runtime = QStringLiteral(KIVO_RUNTIME_FILE_NAME);
    QString found;
    for (const QString &line : libraries.split(u'\n')) {
        if (!line.trimmed().startsWith(runtime + QStringLiteral(" => ")))
            continue;
        const QString file = line.section(QStringLiteral(" => "), 1).section(QStringLiteral(" ("), 0, 0);
        found = QFileInfo(file).canonicalFilePath();
    }
    QCOMPARE(found, QFileInfo(packaged(underUsr(KIVO_INSTALL_SYSTEM_DIR) + u'/' + runtime)).canonicalFilePath());
}

QTEST_GUILESS_MAIN(PackageTest)
#include "PackageTest.moc"
