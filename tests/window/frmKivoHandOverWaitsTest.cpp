// Later starts that come while the main window is busy, starting or asking a question,
// wait for it; their files are offered once it is free, or the later start takes
// the data folder over when the window goes.
#include "window/frmKivo.h"
#include "window/RunningCopy.h"

#include "FileSizeLimit.h"
#include "HandOverFixture.h"

#include <QApplication>
#include <QFile>
#include <QListWidget>
#include <QMenu>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

#include <optional>

using namespace kivo;
using namespace kivo::test;
using namespace Qt::StringLiterals;

namespace {

// A later start of the program in a process of its own, made while the running window
// waits on a question: it hands over its command line and says what became of it.
class LaterStart {
public:
    LaterStart() = default;
    LaterStart(const LaterStart &) = delete;
    LaterStart &operator=(const LaterStart &) = delete;
    ~LaterStart()
    {
        m_process.kill();
        m_process.waitForFinished();
    }

    // Starts it and waits until the running copy holds its command line unanswered.
    bool startAndWait(const frmKivo &running, const QString &dataFolder, const QString &commandLine)
    {
        auto *copy = running.findChild<RunningCopy *>(u"runningCopy"_s);
        if (copy == nullptr)
            return false;
        QSignalSpy waiting(copy, &RunningCopy::handOverWaiting);
        m_process.start(QStringLiteral(KIVO_LATER_START), {dataFolder, commandLine});
        return m_process.waitForStarted() && waiting.wait(20000);
    }
    bool ended() const { return m_process.state() == QProcess::NotRunning; }
    // "handed over", "running" (it holds the folder and starts on its own) or "unreachable".
    QString outcome() { return QString::fromLocal8Bit(m_process.readAllStandardOutput()).trimmed(); }

private:
    QProcess m_process;
};

} // namespace

Q_DECLARE_METATYPE(Answer)

class frmKivoHandOverWaitsTest : public QObject, private HandOverFixture {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { setUpOnce(); }
    void init() { setUp(); }
    void cleanup() { tearDown(); }

    void handOverDuringExitQuestion_data();
    void handOverDuringExitQuestion();
    void handOverDuringStartUp_data();
    void handOverDuringStartUp();
    void fileTakenBeforeExitIsOffered();
};

void frmKivoHandOverWaitsTest::handOverDuringExitQuestion_data()
{
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<bool>("fullDisk"); // the save that Yes asks for fails
    QTest::addColumn<QString>("outcome"); // of the later start
    QTest::addColumn<bool>("closed");

    // The window goes: the later start is refused and takes the folder over.
    QTest::newRow("Yes") << Answer::Yes << false << u"running"_s << true;
    QTest::newRow("No") << Answer::No << false << u"running"_s << true;
    // The window stays: it takes the file and offers it.
    QTest::newRow("Cancel") << Answer::Cancel << false << u"handed over"_s << false;
    QTest::newRow("Yes on a full disk") << Answer::Yes << true << u"handed over"_s << false;
}

void frmKivoHandOverWaitsTest::handOverDuringExitQuestion()
{
    QFETCH(Answer, answer);
    QFETCH(bool, fullDisk);
    QFETCH(QString, outcome);
    QFETCH(bool, closed);

    prepareDataFolder({u"Alpha"_s, u"Bravo"_s}, {{u"First"_s, {u"Alpha"_s}}});
    QVERIFY(start());
    control<QListWidget>(u"objLibrary"_s).setCurrentRow(1);
    control<QListWidget>(u"objLoadList"_s).setCurrentRow(5);
    invoke(u"moveButton"_s);
    const qsizetype shownBefore = m_seam->messages().size();
    const QString late = soundPath(u"Late"_s);
    QVERIFY(writeSoundFile(late));
    LaterStart later;
    bool waited = false;
    std::optional<FileSizeLimit> limit;
    m_seam->onNextMessage([&](const MessageRequest &) {
        waited = later.startAndWait(*m_window, dataFolder(), late);
        if (fullDisk)
            limit.emplace(16);
        return answer;
    });
    if (fullDisk)
        m_seam->onNextMessage([&limit](const MessageRequest &) {
            limit.reset();
            return Answer::Ok;
        });
    DialogSeen seen;
    if (!closed)
        m_seam->onNextDialog(press(u"btnOk"_s, &seen));

    invoke(u"flmExit"_s);

    QVERIFY(waited);
    QCOMPARE(m_seam->messageTexts().at(shownBefore), saveQuestion);
    QTRY_VERIFY_WITH_TIMEOUT(later.ended(), 20000);
    QCOMPARE(later.outcome(), outcome);
    QCOMPARE(m_window->isVisible(), !closed);
    if (!closed) {
        QTRY_VERIFY(m_seam->allAnswersUsed());
        QCOMPARE(seen.message, u"Enter name for file: "_s + late);
        QVERIFY(m_library->getModel(u"Late"_s));
    }
}

void frmKivoHandOverWaitsTest::handOverDuringStartUp_data()
{
    QTest::addColumn<bool>("fails"); // an installation check stops the start-up
    QTest::addColumn<QString>("outcome"); // of the later start

    // It waits until the start-up is through, while the window asks for its own file's name.
    QTest::newRow("start-up goes on") << false << u"handed over"_s;
    QTest::newRow("start-up fails") << true << u"running"_s;
}

void frmKivoHandOverWaitsTest::handOverDuringStartUp()
{
    QFETCH(bool, fails);
    QFETCH(QString, outcome);

    const QString late = soundPath(u"Late"_s);
    QVERIFY(writeSoundFile(late));
    QVERIFY(writeSoundFile(soundPath(u"Early"_s)));
    LaterStart later;
    bool waited = false;
    DialogSeen seen;
    if (fails) {
        QVERIFY(QFile::remove(m_settings->systemFile(0)));
        writeInstallation(false);
        m_seam->onNextMessage([&](const MessageRequest &) {
            waited = later.startAndWait(*m_window, dataFolder(), late);
            return Answer::Ok;
        });
    } else {
        // The start's own file is not taken: the two sound files would read as one.
        m_seam->onNextDialog([&](QDialog &dialog) {
            waited = later.startAndWait(*m_window, dataFolder(), late);
            return press(u"btnCancel"_s)(dialog);
        });
        m_seam->onNextDialog(press(u"btnOk"_s, &seen));
    }

    QCOMPARE(start({}, soundPath(u"Early"_s)), !fails);

    QVERIFY(waited);
    QTRY_VERIFY_WITH_TIMEOUT(later.ended(), 20000);
    QCOMPARE(later.outcome(), outcome);
    if (!fails) {
        QTRY_VERIFY(m_seam->allAnswersUsed());
        QCOMPARE(seen.message, u"Enter name for file: "_s + late);
        QCOMPARE(m_library->getCount(), 1);
        QVERIFY(m_library->getModel(u"Late"_s));
    }
}

// A file that the window took while its menu was open waits for the menu; choosing
// Exit there still offers it before the window goes.
void frmKivoHandOverWaitsTest::fileTakenBeforeExitIsOffered()
{
    QVERIFY(start());
    auto *menu = m_window->findChild<QMenu *>(u"flmApplicatoin"_s);
    QVERIFY(menu != nullptr);
    menu->popup(m_window->geometry().center());
    QTRY_VERIFY(QApplication::activePopupWidget() == menu);
    DialogSeen seen;
    m_seam->onNextDialog(press(u"btnOk"_s, &seen));
    const QString late = soundPath(u"Late"_s);
    QVERIFY(writeSoundFile(late));

    const SecondStart second = startSecondCopy(*m_window, late);
    QVERIFY(second.handedOver);
    QVERIFY(second.arrived);
    QCOMPARE(m_seam->dialogsShown(), 0);
    menu->hide();
    invoke(u"flmExit"_s);

    verifyOffered(seen, u"Late"_s, late);
    QVERIFY(!m_window->isVisible());
}

QTEST_MAIN(frmKivoHandOverWaitsTest)
#include "frmKivoHandOverWaitsTest.moc"
