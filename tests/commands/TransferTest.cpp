#include "commands/ApiGlobal.h"
#include "commands/Glue.h"
#include "model/Factory.h"
#include "model/Global.h"
#include "model/Library.h"
#include "model/LoadLists.h"
#include "model/FileProxy.h"
#include "platform/KivoTools.h"

#include "EncodedFile.h"
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
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <chrono>
#include <csignal>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

using namespace kivo;
using namespace std::chrono_literals;

namespace {

constexpr int imageOffset = 20;
constexpr std::size_t blocksPerImage = test::UnitSimulator::blocks;
// What the sender sleeps after an image's last block, and between two images.
constexpr auto pauseAfterBlock = 50ms;
constexpr auto pauseBetweenImages = 100ms;
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

    // A list "Live" with a sound of its own at each location, named by names or else
    // "s<location>"; returns the files' bytes.
    QList<QByteArray> makeList(const QList<int> &locations, const QStringList &names = {})
    {
        glue.createLL(QStringLiteral("Live"));
        QList<QByteArray> contents;
        for (const int location : locations) {
            const QString name = names.value(contents.size(), QStringLiteral("s") + QString::number(location));
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
// Takes the unit away from its JACK server, or the server away.
using Loss = std::function<void(test::JackServer &, test::UnitSimulator &)>;

// What the user is told at the end of a transfer that could not write every location.
QString notWrittenBox(const QStringList &locations)
{
    return QStringLiteral("These Sound Images were not written to your Kivo:\r\n\r\n")
        + locations.join(QStringLiteral("\r\n"))
        + QStringLiteral("\r\n\r\nCheck that their files can be read and that your Kivo is connected, then "
                         "transfer the Load List again.");
}

void warningTurnedOff()
{
    createRegistryKey(RootKey::HKEY_CURRENT_USER);
    setRegistryValue(RootKey::HKEY_CURRENT_USER, QStringLiteral("Show Warning"), QStringLiteral("1"));
}

} // namespace

Q_DECLARE_METATYPE(Step)
Q_DECLARE_METATYPE(Loss)

class TransferTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void activeListReachesTheUnit_data();
    void activeListReachesTheUnit();
    void missingFileFailsAlone_data();
    void missingFileFailsAlone();
    void fileNamedInAnotherEncodingReachesTheUnit();
    void nothingIsSent_data();
    void nothingIsSent();
    void bindingLostInsideTheLoopEndsSoundly();
    void unitLostMidImage_data();
    void unitLostMidImage();

private:
    // A new JACK server and unit, after the old ones have gone.
    void startServer();

    std::unique_ptr<test::TemporarySettings> m_settings;
    std::unique_ptr<test::JackServer> m_server;
    std::unique_ptr<test::UnitSimulator> m_unit;
    std::size_t m_seen = 0;
};

void TransferTest::initTestCase()
{
    m_settings = std::make_unique<test::TemporarySettings>();
    QVERIFY(m_settings->isValid());
    startServer();
    QVERIFY2(m_server->isReady(), qPrintable(m_server->failure()));
    QVERIFY2(m_unit->isReady(), qPrintable(m_unit->failure()));
}

void TransferTest::startServer()
{
    m_unit.reset();
    m_server.reset();
    m_server = std::make_unique<test::JackServer>();
    m_unit = std::make_unique<test::UnitSimulator>(m_server->name(), QStringLiteral("unit"));
    m_seen = 0;
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

void TransferTest::activeListReachesTheUnit_data()
{
    QTest::addColumn<QList<int>>("locations");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QList<int>>("barValues");

    // The bar as each image starts and after the last one: it moves by the whole part
    // of 120 / count, so that it never runs past its end.
    QTest::newRow("three images") << QList<int>{0, 5, 11} << QStringList{} << QList<int>{0, 40, 80, 120};
    QTest::newRow("seven images") << QList<int>{0, 1, 3, 4, 7, 9, 10} << QStringList{}
                                  << QList<int>{0, 17, 34, 51, 68, 85, 102, 119};
    QTest::newRow("names holding markers") << QList<int>{0, 1}
                                           << QStringList{QStringLiteral("Bass %1"), QStringLiteral("Pad %2")}
                                           << QList<int>{0, 60, 120};
}

void TransferTest::activeListReachesTheUnit()
{
    QFETCH(QList<int>, locations);
    QFETCH(QStringList, names);
    QFETCH(QList<int>, barValues);

    createRegistryKey(RootKey::HKEY_CURRENT_USER);
    Fixture f;
    const QList<QByteArray> files = f.makeList(locations, names);
    f.seam.onNextDialog([](QDialog &dialog) {
        dialog.findChild<QCheckBox *>(QStringLiteral("chkLoadTipsAtStartup"))->setChecked(true);
        dialog.findChild<QAbstractButton *>(QStringLiteral("cmdOK"))->click();
        return dialog.result();
    });
    QList<int> bar;
    std::vector<std::chrono::steady_clock::time_point> imageStarts;
    f.listener.onUpdateStatusBar = [&](const QString &text) {
        if (!text.startsWith(QStringLiteral(" Writing ")))
            return;
        bar.append(f.bar.value());
        imageStarts.push_back(std::chrono::steady_clock::now());
    };
    f.listener.onLoadListsChange = [&](const LoadLists &, int) { bar.append(f.bar.value()); };

    f.glue.sendBlock(0, f.bar);

    const auto images = static_cast<std::size_t>(locations.size());
    const std::size_t expected = m_seen + images * blocksPerImage;
    QVERIFY2(m_unit->waitForMessages(expected, patience), qPrintable(QString::number(m_unit->messages().size() - m_seen)));
    QCOMPARE(m_unit->validMessages(), static_cast<int>(expected));
    QStringList texts;
    for (qsizetype i = 0; i < locations.size(); ++i) {
        QCOMPARE(m_unit->image(locations[i]), files[i].mid(imageOffset));
        const QString name = names.value(i, QStringLiteral("s") + QString::number(locations[i]));
        texts.append(QStringLiteral(" Writing ") + name + QStringLiteral(" at location: ")
                     + QString::number(locations[i] + 1));
    }
    texts.append(QStringLiteral(" Finished Transferring to Kivo!"));
    QCOMPARE(f.listener.statusTexts(), texts);
    QVERIFY(f.listener.events.contains(QStringLiteral("LoadListsChange(%1 of 2)").arg(rowBeforeTransfer)));
    QCOMPARE(bar, barValues);
    QVERIFY(f.bar.isHidden());
    QCOMPARE(f.seam.messageTexts(), QStringList{});
    QCOMPARE(getRegistryValue(RootKey::HKEY_CURRENT_USER, QStringLiteral("Show Warning")), QStringLiteral("1"));

    // After an image's last block the sender waits out its wire time and pause, then
    // the pause between images, and only then names the next image. That block
    // arrives a JACK cycle or so after it is sent, well within its wire time, so the
    // pauses alone are a lower bound that a loaded machine cannot break: load only
    // makes sleeps longer.
    const auto &messages = m_unit->messages();
    QCOMPARE(imageStarts.size(), images);
    for (std::size_t image = 1; image < images; ++image) {
        const auto lastBlock = messages[m_seen + image * blocksPerImage - 1].arrival;
        const auto gap = std::chrono::duration_cast<std::chrono::milliseconds>(imageStarts[image] - lastBlock);
        QVERIFY2(gap >= pauseAfterBlock + pauseBetweenImages,
                 qPrintable(QStringLiteral("image %1 named %2 ms after the last block of the one before")
                                .arg(image)
                                .arg(gap.count())));
    }

    const LoadListPtr lastLoaded = f.lists.getLoadList(QStringLiteral("Last Loaded"));
    QVERIFY(lastLoaded);
    QCOMPARE(f.glue.getActiveLoadList()->name(), QStringLiteral("Live"));
    for (int i = 0; i < 12; ++i)
        QCOMPARE(lastLoaded->isLocationEmpty(i), !locations.contains(i));
    QVERIFY(QFile::exists(dataPath() + QStringLiteral("Last Loaded.dat")));
}

void TransferTest::missingFileFailsAlone_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("statusTexts");

    QTest::newRow("plain names") << QStringList{QStringLiteral("s2"), QStringLiteral("s3")}
        << QStringList{QStringLiteral(" Writing s2 at location: 3"),
                       QStringLiteral(" Writing s2 at location: 3 failed. File cannot be read"),
                       QStringLiteral(" Writing s3 at location: 4"), QStringLiteral(" Finished Transferring to Kivo!")};
    QTest::newRow("names holding markers") << QStringList{QStringLiteral("Bass %1"), QStringLiteral("Pad %2")}
        << QStringList{QStringLiteral(" Writing Bass %1 at location: 3"),
                       QStringLiteral(" Writing Bass %1 at location: 3 failed. File cannot be read"),
                       QStringLiteral(" Writing Pad %2 at location: 4"), QStringLiteral(" Finished Transferring to Kivo!")};
}

void TransferTest::missingFileFailsAlone()
{
    QFETCH(QStringList, names);
    QFETCH(QStringList, statusTexts);

    warningTurnedOff();
    Fixture f;
    const QList<QByteArray> files = f.makeList({2, 3}, names);
    QVERIFY(QFile::remove(f.soundPath(names.constFirst())));

    f.glue.sendBlock(0, f.bar);

    QVERIFY(m_unit->waitForMessages(m_seen + blocksPerImage, patience));
    QCOMPARE(m_unit->messages().size(), m_seen + blocksPerImage);
    QCOMPARE(m_unit->image(3), files[1].mid(imageOffset));
    QCOMPARE(f.listener.statusTexts(), statusTexts);
    const LoadListPtr lastLoaded = f.lists.getLoadList(QStringLiteral("Last Loaded"));
    QVERIFY(lastLoaded);
    QCOMPARE(lastLoaded->count(), 2);
    QCOMPARE(f.seam.dialogsShown(), 0);
    QCOMPARE(f.seam.messageTexts(), QStringList{notWrittenBox({QStringLiteral("Location 3: ") + names.constFirst()})});
}

void TransferTest::fileNamedInAnotherEncodingReachesTheUnit()
{
    warningTurnedOff();
    Fixture f;
    // A library file and a sound named on a system whose 8-bit text is Latin-1.
    const test::EncodedFile sound(QFile::encodeName(QDir::toNativeSeparators(f.dir.path() + QStringLiteral("/sounds/")))
                                  + "caf\xe9.tvs");
    const QByteArray image = soundImage(9);
    QVERIFY(sound.write(image));
    const QByteArray line = "\t7\tCafe\t" + sound.path() + "\r\n";
    QFile libraryFile(f.dataFile(QStringLiteral("Library.dat")));
    QVERIFY(libraryFile.open(QIODevice::WriteOnly));
    QVERIFY(libraryFile.write("0" + line + "\r\n") > 0);
    libraryFile.close();
    loadFromFile(f.library.persistent(), QString());
    f.glue.createLL(QStringLiteral("Live"));
    f.glue.addToLL(QStringLiteral("Cafe"), 4);
    QVERIFY2(f.glue.getActiveLoadList()->getModel(4), qPrintable(f.listener.events.join(u'\n')));
    f.listener.reset();

    f.glue.sendBlock(0, f.bar);

    QVERIFY(m_unit->waitForMessages(m_seen + blocksPerImage, patience));
    QCOMPARE(m_unit->image(4), image.mid(imageOffset));
    QCOMPARE(f.listener.statusTexts(), (QStringList{QStringLiteral(" Writing Cafe at location: 5"),
                                                    QStringLiteral(" Finished Transferring to Kivo!")}));
    // The lists saved at the end name the file by the same bytes.
    for (const QString &file : {QStringLiteral("Live.dat"), QStringLiteral("Last Loaded.dat")}) {
        QFile saved(f.dataFile(file));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), "4" + line + "\r\n");
    }
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
    // The unit is the first port, the one that a device of -1 would open.
    QTest::newRow("no device chosen") << Step([](Fixture &f) {
        warningTurnedOff();
        f.makeList({1});
    }) << -1 << QStringList{QStringLiteral(" Cannot open Midi Port for output")} << QStringList{};
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

void TransferTest::unitLostMidImage_data()
{
    QTest::addColumn<Loss>("loss");

    QTest::newRow("unit switched off") << Loss([](test::JackServer &, test::UnitSimulator &unit) { unit.close(); });
    QTest::newRow("server shut down") << Loss([](test::JackServer &server, test::UnitSimulator &) {
        server.sendSignal(SIGTERM);
    });
    QTest::newRow("server killed") << Loss([](test::JackServer &server, test::UnitSimulator &) {
        server.sendSignal(SIGKILL);
    });
}

void TransferTest::unitLostMidImage()
{
    QFETCH(Loss, loss);

    warningTurnedOff();
    Fixture f;
    const QList<QByteArray> files = f.makeList({0, 1, 2});
    // A unit that has received nothing yet. The shared server and unit are
    // taken away, so the next rows and tests get new ones: libjack does not
    // serve two servers at once in one process.
    startServer();
    QVERIFY2(m_unit->isReady(), qPrintable(m_unit->failure()));
    const auto restart = qScopeGuard([this] { startServer(); });
    test::JackServer &server = *m_server;
    test::UnitSimulator &unit = *m_unit;

    // The second image has 27 blocks and more than two seconds to go when its first arrives.
    std::thread lose([&] {
        unit.waitForMessages(blocksPerImage + 1, patience);
        loss(server, unit);
    });
    f.glue.sendBlock(0, f.bar);
    lose.join();
    unit.close();

    QCOMPARE(f.listener.statusTexts(),
             (QStringList{QStringLiteral(" Writing s0 at location: 1"), QStringLiteral(" Writing s1 at location: 2"),
                          QStringLiteral(" Writing s1 at location: 2 failed. File cannot be read"),
                          QStringLiteral(" Writing s2 at location: 3"),
                          QStringLiteral(" Writing s2 at location: 3 failed. File cannot be read"),
                          QStringLiteral(" Finished Transferring to Kivo!")}));
    QCOMPARE(f.seam.messageTexts(),
             QStringList{notWrittenBox({QStringLiteral("Location 2: s1"), QStringLiteral("Location 3: s2")})});
    QVERIFY(unit.receivedBlocks(0).all());
    QCOMPARE(unit.image(0), files[0].mid(imageOffset));
    QVERIFY(!unit.receivedBlocks(1).all());
    QCOMPARE(unit.receivedBlocks(2).count(), std::size_t{0});
    const LoadListPtr lastLoaded = f.lists.getLoadList(QStringLiteral("Last Loaded"));
    QVERIFY(lastLoaded);
    QCOMPARE(lastLoaded->count(), 3);
}

QTEST_MAIN(TransferTest)
#include "TransferTest.moc"
