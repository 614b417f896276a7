// The load list and the MIDI device that the main window selects at its start, as
// its last shut-down remembered them.
#include "window/frmKivo.h"

#include "commands/dlgKivo.h"

#include "WindowFixture.h"

#include <QComboBox>
#include <QListWidget>
#include <QTest>

using namespace kivo;
using namespace kivo::test;
using namespace Qt::StringLiterals;

class frmKivoSelectionsTest : public QObject, private WindowFixture {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { setUpOnce(); }
    void init() { setUp(); }
    void cleanup() { tearDown(); }

    void restoreSelections_data();
    void restoreSelections();
    void shutDownRemembersSelections_data();
    void shutDownRemembersSelections();
};

void frmKivoSelectionsTest::restoreSelections_data()
{
    QTest::addColumn<QStringList>("devices");
    QTest::addColumn<QString>("loadList"); // null: not stored
    QTest::addColumn<QString>("device");
    QTest::addColumn<QString>("deviceCount"); // "=rows": the number of rows, "=rows+1" one more
    QTest::addColumn<int>("listRow");
    QTest::addColumn<int>("deviceRow");
    QTest::addColumn<QString>("deviceName"); // null: not stored, as by an older run

    const QStringList three{u"Port A"_s, u"Port B"_s, u"Port C"_s};
    QTest::newRow("nothing remembered") << three << QString() << QString() << QString() << 0 << 0 << QString();
    QTest::newRow("remembered rows") << three << u"2"_s << u"1"_s << u"=rows"_s << 2 << 1 << QString();
    QTest::newRow("no row was selected") << three << u"-1"_s << u"-1"_s << u"=rows"_s << 0 << 0 << QString();
    QTest::newRow("the number of rows") << three << u"3"_s << u"=rows"_s << u"=rows"_s << 0 << 0 << QString();
    QTest::newRow("beyond the rows") << three << u"7"_s << u"40"_s << u"=rows"_s << 0 << 0 << QString();
    QTest::newRow("below -1") << three << u"-4"_s << u"-2"_s << u"=rows"_s << 0 << 0 << QString();
    QTest::newRow("not a number") << three << u"abc"_s << u"x1"_s << u"=rows"_s << 0 << 0 << QString();
    QTest::newRow("blanks and a fraction") << three << u" 1.6"_s << u" 1"_s << u"=rows"_s << 2 << 1 << QString();
    QTest::newRow("devices changed") << three << u"1"_s << u"2"_s << u"=rows+1"_s << 1 << 0 << QString();
    QTest::newRow("device count absent") << three << u"1"_s << u"2"_s << QString() << 1 << 2 << QString();
    QTest::newRow("device count not a number") << three << u"1"_s << u"2"_s << u"many"_s << 1 << 0 << QString();
    QTest::newRow("second of two namesakes")
        << QStringList{u"Same"_s, u"Same"_s, u"Other"_s} << u"0"_s << u"1"_s << u"=rows"_s << 0 << 0 << QString();

    // The unit that was selected is found by its name wherever it is now, and none is
    // selected when it is gone.
    QTest::newRow("the named unit in another row")
        << three << u"0"_s << u"0"_s << u"=rows"_s << 0 << 2 << u"Port C"_s;
    QTest::newRow("the named unit gone") << three << u"0"_s << u"1"_s << u"=rows"_s << 0 << -1 << u"Port Z"_s;
    QTest::newRow("the named unit among other devices")
        << three << u"0"_s << u"0"_s << u"=rows+1"_s << 0 << 1 << u"Port B"_s;
    QTest::newRow("the named unit, no row remembered")
        << three << u"0"_s << u"-1"_s << u"=rows"_s << 0 << 1 << u"Port B"_s;
    QTest::newRow("namesakes: the remembered one")
        << QStringList{u"Same"_s, u"Same"_s, u"Other"_s} << u"0"_s << u"1"_s << u"=rows"_s << 0 << 1 << u"Same"_s;
    QTest::newRow("namesakes: the first when the remembered row is another's")
        << QStringList{u"Other"_s, u"Same"_s, u"Same"_s} << u"0"_s << u"0"_s << u"=rows"_s << 0 << 1 << u"Same"_s;
    QTest::newRow("a name in other letter case is another's")
        << QStringList{u"port a"_s, u"Port A"_s} << u"0"_s << u"0"_s << u"=rows"_s << 0 << 1 << u"Port A"_s;
    // ALSA numbers a client anew when it starts again.
    QTest::newRow("the named unit at another address")
        << QStringList{u"Midi Through:Midi Through Port-0 14:0"_s, u"Kivo:Kivo MIDI 1 24:0"_s} << u"0"_s << u"0"_s
        << u"=rows"_s << 0 << 1 << u"Kivo:Kivo MIDI 1 20:0"_s;
    QTest::newRow("the named unit at its own address before a namesake elsewhere")
        << QStringList{u"Kivo:Kivo MIDI 1 24:0"_s, u"Kivo:Kivo MIDI 1 20:0"_s} << u"0"_s << u"0"_s << u"=rows"_s
        << 0 << 1 << u"Kivo:Kivo MIDI 1 20:0"_s;
}

void frmKivoSelectionsTest::restoreSelections()
{
    QFETCH(QStringList, devices);
    QFETCH(QString, loadList);
    QFETCH(QString, device);
    QFETCH(QString, deviceCount);
    QFETCH(int, listRow);
    QFETCH(int, deviceRow);
    QFETCH(QString, deviceName);

    prepareDataFolder({u"Alpha"_s, u"Bravo"_s, u"Charlie"_s},
                      {{u"L0"_s, {u"Alpha"_s}}, {u"L1"_s, {u"Bravo"_s}}, {u"L2"_s, {u"Charlie"_s}}});
    const auto rows = devices.size() + m_realDevices;
    const auto value = [rows](const QString &text) {
        if (text == u"=rows")
            return QString::number(rows);
        if (text == u"=rows+1")
            return QString::number(rows + 1);
        return text;
    };
    const QString file = m_settings->userFile();
    if (!loadList.isNull())
        TemporarySettings::store(file, u"Loadlist"_s, value(loadList));
    if (!device.isNull())
        TemporarySettings::store(file, u"Device"_s, value(device));
    if (!deviceCount.isNull())
        TemporarySettings::store(file, u"Device Count"_s, value(deviceCount));
    if (!deviceName.isNull())
        TemporarySettings::store(file, u"Device Name"_s, deviceName);

    QVERIFY(start(devices));

    const auto &lists = control<QComboBox>(u"cboActiveList"_s);
    QCOMPARE(lists.currentIndex(), listRow);
    // Selecting the row made its list the active one.
    QCOMPARE(m_lists->activeLoadList()->name(), lists.currentText());
    QCOMPARE(control<QListWidget>(u"objLoadList"_s).item(0)->text(),
             (QStringList{u"Alpha"_s, u"Bravo"_s, u"Charlie"_s}.at(listRow)));
    QCOMPARE(control<QComboBox>(u"cboDevice"_s).currentIndex(), deviceRow);
}

void frmKivoSelectionsTest::shutDownRemembersSelections_data()
{
    QTest::addColumn<bool>("startUpFails");
    QTest::addColumn<int>("listRow");
    QTest::addColumn<int>("deviceRow");

    QTest::addColumn<QString>("deviceName");

    // The last run's unit was "Port B".
    QTest::newRow("after a normal start-up") << false << 1 << 2 << u"Port C"_s;
    // The unit away: its name is kept for the next start.
    QTest::newRow("no row selected") << false << -1 << -1 << u"Port B"_s;
    QTest::newRow("after a failed start-up") << true << -1 << -1 << u"Port B"_s;
}

void frmKivoSelectionsTest::shutDownRemembersSelections()
{
    QFETCH(bool, startUpFails);
    QFETCH(int, listRow);
    QFETCH(int, deviceRow);
    QFETCH(QString, deviceName);

    prepareDataFolder({u"Alpha"_s}, {{u"L0"_s, {}}, {u"L1"_s, {}}});
    TemporarySettings::store(m_settings->userFile(), u"Device Name"_s, u"Port B"_s);
    if (startUpFails)
        setPersonal(Personal::Elsewhere);
    // A start-up that fails ends before the device list is filled.
    const QStringList devices = startUpFails ? QStringList() : QStringList{u"Port A"_s, u"Port B"_s, u"Port C"_s};
    QCOMPARE(start(devices), !startUpFails);
    if (!startUpFails) {
        control<QComboBox>(u"cboActiveList"_s).setCurrentIndex(listRow);
        control<QComboBox>(u"cboDevice"_s).setCurrentIndex(deviceRow);
        gDialog->setStrAll(QString());
        invoke(u"flmExit"_s);
        QVERIFY(!m_window->isVisible());
        // The dialog was closed as by its close box.
        QCOMPARE(gDialog->strAll(), CancelAll.toString());
    }

    QCOMPARE(storedUserValue(u"Loadlist"_s), QString::number(listRow));
    QCOMPARE(storedUserValue(u"Device"_s), QString::number(deviceRow));
    QCOMPARE(storedUserValue(u"Device Count"_s), QString::number(startUpFails ? 0 : devices.size() + m_realDevices));
    QCOMPARE(storedUserValue(u"Device Name"_s), deviceName);
    QVERIFY(m_seam->messageTexts().count(saveQuestion) == 0);
}

QTEST_MAIN(frmKivoSelectionsTest)
#include "frmKivoSelectionsTest.moc"
