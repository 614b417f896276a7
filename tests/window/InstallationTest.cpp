#include "window/Installation.h"

#include <QDir>
#include <QTest>

using namespace kivo;

// Where the program looks first for the machine-wide settings of its own
// installation, seen from the folder that holds the program: the settings folder
// that the installation of that prefix writes.
class InstallationTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup();

    void settingsOfTheOwnInstallationComeFirst_data();
    void settingsOfTheOwnInstallationComeFirst();
};

void InstallationTest::cleanup()
{
    qunsetenv("XDG_CONFIG_DIRS");
}

void InstallationTest::settingsOfTheOwnInstallationComeFirst_data()
{
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<QByteArray>("others"); // XDG_CONFIG_DIRS before the call
    QTest::addColumn<QByteArray>("searched");

    QTest::newRow("own prefix") << QStringLiteral("/tmp/Kivo Rudovaz, installed") << QByteArray()
                                << QByteArray("/tmp/Kivo Rudovaz, installed/etc/xdg:/etc/xdg");
    QTest::newRow("local prefix") << QStringLiteral("/usr/local") << QByteArray("/opt/xdg")
                                  << QByteArray("/usr/local/etc/xdg:/opt/xdg");
    // A package installs under /usr and keeps its settings in /etc, not /usr/etc.
    QTest::newRow("system prefix") << QStringLiteral("/usr") << QByteArray("/etc/xdg/xdg-openbox")
                                   << QByteArray("/etc/xdg:/etc/xdg/xdg-openbox");
    QTest::newRow("root prefix") << QStringLiteral("/") << QByteArray() << QByteArray("/etc/xdg:/etc/xdg");
}

void InstallationTest::settingsOfTheOwnInstallationComeFirst()
{
    QFETCH(QString, prefix);
    QFETCH(QByteArray, others);
    QFETCH(QByteArray, searched);

    if (others.isEmpty())
        qunsetenv("XDG_CONFIG_DIRS");
    else
        qputenv("XDG_CONFIG_DIRS", others);
    const QString programFolder = QDir::cleanPath(prefix + u'/' + QStringLiteral(KIVO_INSTALL_BIN_DIR));
    useInstalledSettings(programFolder);
    QCOMPARE(qgetenv("XDG_CONFIG_DIRS"), searched);
}

QTEST_GUILESS_MAIN(InstallationTest)
#include "InstallationTest.moc"
