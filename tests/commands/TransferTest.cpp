#include "commands/ApiGlobal.h"
#include "commands/Glue.h"
#include "model/Factory.h"
#include "model/Global.h"
#include "model/Library.h"
#include "model/LoadLists.h"
#include "platform/KivoTools.h"

#include "JackServer.h"
#include "GlueFixture.h"
#include "TemporarySettings.h"
#include "UnitSimulator.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QProgressBar>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>

using namespace kivo;
using namespace std::chrono_literals;

namespace {

constexpr int imageOffset = 20;
// How long a wait for the unit's messages lasts without any message arriving.
constexpr auto patience = 10s;

QByteArray soundImage(quint32 seed)
{
    QByteArray bytes = QByteArray::fromHex("00000010 4B49564F 00000101 00000007 01020304");
    QRandomGenerator random(seed);
    for (int i = 0; i < test::UnitSimulator::imageSize; ++i)
        bytes.append(static_cast<char>(random.bounded(256)));
    return bytes;
}

// The facade's fixture with the main window's progress bar.
struct Fixture : test::GlueFixture {
    QProgressBar bar;

    Fixture()
    {
        bar.setRange(0, 120);
        bar.setVisible(false);
    }

    // A list "Live" with a sound of its own at each location; returns the files' bytes.
    QList<QByteArray> makeList(const QList<int> &locations)
    {
        glue.createLL(QStringLiteral("Live"));
        QList<QByteArray> contents;
        for (const int location : locations) {
            const QString name = QStringLiteral("s%1").arg(location);
            const QByteArray content = soundImage(static_cast<quint32>(location + 1));
            if (!writeSound(name, content))
                qFatal("cannot write a sound file");
            glue.addToLibrary(location + 1, name, soundPath(name));
            glue.addToLL(name, location);
            contents.append(content);
        }
        listener.reset();
        return contents;
    }
};

using Step = std::function<void(Fixture &)>;

void warningTurnedOff()
{
    createRegistryKey(RootKey::HKEY_CURRENT_USER);
    setRegistryValue(RootKey::HKEY_CURRENT_USER, QStringLiteral("Show Warning"), QStringLiteral("1"));
}

} // namespace

Q_DECLARE_METATYPE(Step)

class TransferTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void activeListReachesTheUnit();
    void missingFileFailsAlone();
    void nothingIsSent_data();
    void nothingIsSent();
    void bindingLostInsideTheLoopEndsSoundly();

private:
    std::unique_ptr<test::TemporarySettings> m_settings;
    std::unique_ptr<test::JackServer> m_server;
    std::unique_ptr<test::UnitSimulator> m_unit;
    std::size_t m_seen = 0;
};

void TransferTest::initTestCase()
{
    m_settings = std::make_unique<test::TemporarySettings>();
    QVERIFY(m_settings->isValid());
    qputenv("KIVO_MIDI_API", "jack");
    m_server = std::make_unique<test::JackServer>();
    QVERIFY2(m_server->isReady(), qPrintable(m_server->failure()));
    m_unit = std::make_unique<test::UnitSimulator>(m_server->name(), QStringLiteral("unit"));
    QVERIFY2(m_unit->isReady(), qPrintable(m_unit->failure()));
}

void TransferTest::init()
{
    m_settings->clear();
    m_seen = m_unit->messages().size();
}

void TransferTest::cleanup()
{
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
}

void TransferTest::activeListReachesTheUnit()
{
    createRegistryKey(RootKey::HKEY_CURRENT_USER);
    Fixture f;
    const QList<QByteArray> files = f.makeList({0, 5, 11});
    f.seam.onNextDialog([](QDialog &dialog) {
        dialog.findChild<QCheckBox *>(QStringLiteral("chkLoadTipsAtStartup"))->setChecked(true);
        dialog.findChild<QAbstractButton *>(QStringLiteral("cmdOK"))->click();
        return dialog.result();
    });
    int barAtLastImage = -1;
    f.listener.onLoadListsChange = [&](const LoadLists &, int) { barAtLastImage = f.bar.value(); };

    f.glue.sendBlock(0, f.bar);

    QVERIFY2(m_unit->waitForMessages(m_seen + 3 * 28, patience), qPrintable(QString::number(m_unit->messages().size() - m_seen)));
    QCOMPARE(m_unit->validMessages(), static_cast<int>(m_seen + 3 * 28));
    const QList<int> locations{0, 5, 11};
    for (qsizetype i = 0; i < locations.size(); ++i)
        QCOMPARE(m_unit->image(locations[i]), files[i].mid(imageOffset));
    QCOMPARE(f.listener.statusTexts(),
             (QStringList{QStringLiteral(" Writing s0 at location: 1"), QStringLiteral(" Writing s5 at location: 6"),
                          QStringLiteral(" Writing s11 at location: 12"), QStringLiteral(" Finished Transferring to Kivo!")}));
    QVERIFY(f.listener.events.contains(QStringLiteral("LoadListsChange(-99 of 2)")));
    QCOMPARE(barAtLastImage, 120);
    QVERIFY(f.bar.isHidden());
    QCOMPARE(getRegistryValue(RootKey::HKEY_CURRENT_USER, QStringLiteral("Show Warning")), QStringLiteral("1"));

    const LoadListPtr lastLoaded = f.lists.getLoadList(QStringLiteral("Last Loaded"));
    QVERIFY(lastLoaded);
    QCOMPARE(f.glue.getActiveLoadList()->name(), QStringLiteral("Live"));
    for (int i = 0; i < 12; ++i)
        QCOMPARE(lastLoaded->isLocationEmpty(i), !locations.contains(i));
    QVERIFY(QFile::exists(dataPath() + QStringLiteral("Last Loaded.dat")));
}

void TransferTest::missingFileFailsAlone()
{
    warningTurnedOff();
    Fixture f;
    const QList<QByteArray> files = f.makeList({2, 3});
    QVERIFY(QFile::remove(f.soundPath(QStringLiteral("s2"))));

    f.glue.sendBlock(-1, f.bar);

    QVERIFY(m_unit->waitForMessages(m_seen + 28, patience));
    QCOMPARE(m_unit->messages().size(), m_seen + 28);
    QCOMPARE(m_unit->image(3), files[1].mid(imageOffset));
    QCOMPARE(f.listener.statusTexts(),
             (QStringList{QStringLiteral(" Writing s2 at location: 3"),
                          QStringLiteral(" Writing s2 at location: 3 failed. File cannot be read"),
                          QStringLiteral(" Writing s3 at location: 4"), QStringLiteral(" Finished Transferring to Kivo!")}));
    const LoadListPtr lastLoaded = f.lists.getLoadList(QStringLiteral("Last Loaded"));
    QVERIFY(lastLoaded);
    QCOMPARE(lastLoaded->count(), 2);
    QCOMPARE(f.seam.dialogsShown(), 0);
}

void TransferTest::nothingIsSent_data()
{
    QTest::addColumn<Step>("setup");
    QTest::addColumn<int>("device");
    QTest::addColumn<QStringList>("statusTexts");
    QTest::addColumn<QStringList>("boxes");

    QTest::newRow("warning cancelled, no list") << Step([](Fixture &f) {
        f.seam.onNextDialog([](QDialog &dialog) {
            dialog.findChild<QAbstractButton *>(QStringLiteral("btnCancel"))->click();
            return dialog.result();
        });
    }) << 0 << QStringList{QStringLiteral(" Writing to Kivo aborted")} << QStringList{};
    QTest::newRow("no active list") << Step([](Fixture &) { warningTurnedOff(); }) << 0
        << QStringList{QStringLiteral(" Please select a valid Load List!")} << QStringList{};
    QTest::newRow("empty list") << Step([](Fixture &f) {
        warningTurnedOff();
        f.makeList({});
    }) << 0 << QStringList{QStringLiteral(" Active Load List is empty!")} << QStringList{};
    QTest::newRow("port does not open") << Step([](Fixture &f) {
        warningTurnedOff();
        f.makeList({1});
    }) << 7 << QStringList{QStringLiteral(" Cannot open Midi Port for output")} << QStringList{};
    QTest::newRow("library missing") << Step([](Fixture &f) {
        warningTurnedOff();
        f.makeList({1});
        static KivoTools missing(QStringLiteral("kivotools-that-is-not-installed"));
        f.glue.setKivoTools(missing);
    }) << 0 << QStringList{QStringLiteral(" Cannot write to Kivo")} << QStringList{QStringLiteral("A required DLL is missing")};
}

void TransferTest::nothingIsSent()
{
    QFETCH(Step, setup);
    QFETCH(int, device);
    QFETCH(QStringList, statusTexts);
    QFETCH(QStringList, boxes);

    Fixture f;
    setup(f);
    f.glue.sendBlock(device, f.bar);

    QCOMPARE(f.listener.statusTexts(), statusTexts);
    QCOMPARE(f.seam.messageTexts(), boxes);
    QVERIFY(f.bar.isHidden());
    QVERIFY(!f.lists.getLoadList(QStringLiteral("Last Loaded")));
    QCOMPARE(m_unit->messages().size(), m_seen);
}

void TransferTest::bindingLostInsideTheLoopEndsSoundly()
{
    warningTurnedOff();
    Fixture f;
    f.makeList({4});
    KivoTools partial(QStringLiteral(PARTIAL_LIBRARY_FILE));
    f.glue.setKivoTools(partial);

    // That library's port check answers 0 only for device -40, and it has no writeMidi.
    f.glue.sendBlock(-40, f.bar);

    const QStringList texts = f.listener.statusTexts();
    QCOMPARE(texts.size(), 2);
    QCOMPARE(texts.at(0), QStringLiteral(" Writing s4 at location: 5"));
    QVERIFY2(texts.at(1).startsWith(QStringLiteral(" Writing to Kivo failed: ")), qPrintable(texts.at(1)));
    QVERIFY(f.bar.isHidden());
    QVERIFY(!f.lists.getLoadList(QStringLiteral("Last Loaded")));
}

QTEST_MAIN(TransferTest)
#include "TransferTest.moc"
