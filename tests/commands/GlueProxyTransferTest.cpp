#include "commands/ApiGlobal.h"
#include "commands/Glue.h"
#include "commands/GlueProxy.h"
#include "platform/MidiDevices.h"

#include "JackServer.h"
#include "ModalAnswerer.h"
#include "ProxyFixture.h"
#include "TemporarySettings.h"
#include "UnitSimulator.h"

#include <QProgressBar>
#include <QTest>

#include <memory>

using namespace kivo;
using namespace std::chrono_literals;

class GlueProxyTransferTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanup();
    void transferSelectsTheSavedListAgain();

private:
    std::unique_ptr<test::TemporarySettings> m_settings;
    std::unique_ptr<test::JackServer> m_server;
    std::unique_ptr<test::UnitSimulator> m_unit;
};

void GlueProxyTransferTest::initTestCase()
{
    m_settings = std::make_unique<test::TemporarySettings>();
    QVERIFY(m_settings->isValid());
    createRegistryKey(RootKey::HKEY_CURRENT_USER);
    setRegistryValue(RootKey::HKEY_CURRENT_USER, QStringLiteral("Show Warning"), QStringLiteral("1"));
    m_server = std::make_unique<test::JackServer>();
    QVERIFY2(m_server->isReady(), qPrintable(m_server->failure()));
    m_unit = std::make_unique<test::UnitSimulator>(m_server->name(), QStringLiteral("unit"));
    QVERIFY2(m_unit->isReady(), qPrintable(m_unit->failure()));
}

void GlueProxyTransferTest::cleanup()
{
    QCOMPARE(test::visibleTopLevels(), QWidgetList{});
}

// The transfer creates "Last Loaded" after the existing lists; the list that was
// selected before it is selected again, and only that list is made active.
void GlueProxyTransferTest::transferSelectsTheSavedListAgain()
{
    test::ProxyFixture f;
    const int port = static_cast<int>(outputDeviceNames().indexOf(m_unit->portName()));
    QVERIFY2(port >= 0, qPrintable(outputDeviceNames().join(u'|')));
    QCOMPARE(f.rows(f.device), outputDeviceNames());
    QCOMPARE(f.device.currentIndex(), -1);

    const QString file =
        f.writeSound(QStringLiteral("Bass %1.tvs"), 9, test::UnitSimulator::imageSize);
    f.proxy->glue().addToLibrary(9, QStringLiteral("Bass %1"), file);
    f.makeList(QStringLiteral("A"));
    f.makeList(QStringLiteral("Pad %2"), {{4, QStringLiteral("Bass %1")}});
    f.makeList(QStringLiteral("C"));
    f.llsList.setCurrentIndex(1);
    f.forget();
    QProgressBar bar;
    bar.setRange(0, 120);

    f.proxy->btnWriteClick(static_cast<qint16>(port), bar);

    QVERIFY2(m_unit->waitForMessages(28, 10s),
             qPrintable(QStringLiteral("%1 messages arrived; status texts: %2")
                            .arg(m_unit->messages().size())
                            .arg(f.statusTexts.join(QStringLiteral(" | ")))));
    QCOMPARE(m_unit->validMessages(), 28);
    QCOMPARE(m_unit->image(4), QByteArray(test::UnitSimulator::imageSize, '\x5a'));
    QCOMPARE(f.rows(f.llsList), (QStringList{QStringLiteral("A"), QStringLiteral("Pad %2"), QStringLiteral("C"),
                                             QStringLiteral("Last Loaded")}));
    QCOMPARE(f.llsList.currentIndex(), 1);
    QCOMPARE(f.proxy->glue().getActiveLoadList()->name(), QStringLiteral("Pad %2"));
    QCOMPARE(f.clicks.filter(QStringLiteral("Lists:")), QStringList{QStringLiteral("Lists:Pad %2")});
    // The reselection shows the first location of the list, which is empty.
    QCOMPARE(f.statusTexts, (QStringList{QStringLiteral(" Writing Bass %1 at location: 5"), QString(),
                                         QStringLiteral(" Finished Transferring to Kivo!")}));
}

QTEST_MAIN(GlueProxyTransferTest)
#include "GlueProxyTransferTest.moc"
