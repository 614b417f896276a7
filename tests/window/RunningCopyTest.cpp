#include "window/RunningCopy.h"

#include "DrivenClock.h"
#include "FileSizeLimit.h"
#include "ReadOnlyFolder.h"

#include <QDataStream>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <chrono>

#include <optional>

using namespace kivo;
using namespace Qt::StringLiterals;
using namespace kivo::test;

namespace {

// Why the data folder took no lock file when the first copy started.
enum class NoLock { FullDisk, ReadOnly };

// Keeps a data folder from taking files while it lives, as a full disk or a read-only
// folder does.
class Unwritable {
public:
    Unwritable(NoLock why, const QString &folder)
    {
        if (why == NoLock::FullDisk)
            m_full.emplace(0);
        else
            m_readOnly.emplace(folder);
    }
    bool holds() const { return !m_readOnly || m_readOnly->isReadOnly(); }

private:
    std::optional<FileSizeLimit> m_full;
    std::optional<ReadOnlyFolder> m_readOnly;
};

} // namespace

Q_DECLARE_METATYPE(NoLock)
Q_DECLARE_METATYPE(RunningCopy::Role)

class RunningCopyTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void copyWithoutALockKeepsTheFolder_data();
    void copyWithoutALockKeepsTheFolder();
    void answerThatCannotBeSent_data();
    void answerThatCannotBeSent();
    void laterStartWaitsForABusyCopy_data();
    void laterStartWaitsForABusyCopy();

private:
    QString lockFile() const { return m_folder->filePath(RunningCopy::lockFileName()); }

    std::optional<QTemporaryDir> m_folder;
};

void RunningCopyTest::init()
{
    m_folder.emplace();
    QVERIFY(m_folder->isValid());
}

void RunningCopyTest::cleanup()
{
    // For a run that fails before its copies let the folder go.
    QLocalServer::removeServer(RunningCopy::serverName(m_folder->path()));
    m_folder.reset();
}

void RunningCopyTest::copyWithoutALockKeepsTheFolder_data()
{
    QTest::addColumn<NoLock>("why");
    QTest::addColumn<bool>("stillUnwritable"); // when the later start comes

    QTest::newRow("full disk, then space freed") << NoLock::FullDisk << false;
    QTest::newRow("read-only folder, then writable") << NoLock::ReadOnly << false;
    QTest::newRow("still full") << NoLock::FullDisk << true;
}

// The copy that runs without a lock writes the folder's files as soon as it can again:
// a later start that now gets the lock must not run beside it.
void RunningCopyTest::copyWithoutALockKeepsTheFolder()
{
    QFETCH(NoLock, why);
    QFETCH(bool, stillUnwritable);

    RunningCopy first;
    {
        const Unwritable unwritable(why, m_folder->path());
        if (!unwritable.holds())
            QSKIP("the folder cannot be made read-only here");
        QCOMPARE(first.start(m_folder->path(), QString()), RunningCopy::Role::Running);
    }
    QVERIFY(!QFileInfo::exists(lockFile()));
    first.takeHandOvers();
    QSignalSpy arrived(&first, &RunningCopy::commandLineArrived);

    RunningCopy second;
    {
        std::optional<Unwritable> unwritable;
        if (stillUnwritable)
            unwritable.emplace(why, m_folder->path());
        QCOMPARE(second.start(m_folder->path(), u"/sounds/Later.tvs"_s), RunningCopy::Role::HandedOver);
    }
    QCOMPARE(arrived.size(), 1);
    QCOMPARE(arrived.at(0).at(0).toString(), u"/sounds/Later.tvs"_s);
    QVERIFY(!QFileInfo::exists(lockFile()));

    // Once that copy has gone, the next start holds the folder with a lock.
    first.release();
    RunningCopy third;
    QCOMPARE(third.start(m_folder->path(), QString()), RunningCopy::Role::Running);
    QVERIFY(QFileInfo::exists(lockFile()));
}

void RunningCopyTest::answerThatCannotBeSent_data()
{
    QTest::addColumn<bool>("laterStartGone"); // before the running copy answers

    QTest::newRow("answer heard") << false;
    QTest::newRow("later start gone") << true;
}

// The running copy takes a command line only once its answer has gone out: a later
// start that does not get it goes on as refused, and would offer its file itself.
void RunningCopyTest::answerThatCannotBeSent()
{
    QFETCH(bool, laterStartGone);

    RunningCopy running;
    QCOMPARE(running.start(m_folder->path(), QString()), RunningCopy::Role::Running);
    QSignalSpy waiting(&running, &RunningCopy::handOverWaiting);
    QSignalSpy arrived(&running, &RunningCopy::commandLineArrived);
    // A later start as far as its message: the running copy is starting and holds it.
    QLocalSocket later;
    later.connectToServer(RunningCopy::serverName(m_folder->path()));
    QVERIFY(later.waitForConnected());
    QByteArray message;
    QDataStream out(&message, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_0);
    out << u"/sounds/Later.tvs"_s;
    QCOMPARE(later.write(message), message.size());
    QVERIFY(later.waitForBytesWritten());
    QVERIFY(waiting.wait());
    if (laterStartGone)
        later.abort();

    running.takeHandOvers();

    QCOMPARE(arrived.size(), laterStartGone ? 0 : 1);
    if (!laterStartGone)
        QVERIFY(later.bytesAvailable() > 0 || later.waitForReadyRead());
}

void RunningCopyTest::laterStartWaitsForABusyCopy_data()
{
    QTest::addColumn<qint64>("busyForMs"); // before the running copy gets to the later start
    QTest::addColumn<RunningCopy::Role>("role"); // of the later start

    QTest::newRow("a minute") << qint64(60'000) << RunningCopy::Role::HandedOver;
    QTest::newRow("nine minutes and a half") << qint64(570'000) << RunningCopy::Role::HandedOver;
    QTest::newRow("over ten minutes") << qint64(600'001) << RunningCopy::Role::Unreachable;
}

// A copy that is busy (a transfer of a long list, say) answers between its commands: a
// later start waits ten minutes for it, and only then says that it does not answer.
void RunningCopyTest::laterStartWaitsForABusyCopy()
{
    QFETCH(qint64, busyForMs);
    QFETCH(RunningCopy::Role, role);

    DrivenClock clock;
    RunningCopy running;
    QCOMPARE(running.start(m_folder->path(), QString()), RunningCopy::Role::Running);
    QSignalSpy arrived(&running, &RunningCopy::commandLineArrived);
    // The later start's message has come; the copy gets to it once it is through, and
    // answers it when the later start still waits (its wait is the one timer that runs).
    connect(&running, &RunningCopy::handOverWaiting, &running, [&] {
        QTimer::singleShot(0, &running, [&] {
            clock.advance(std::chrono::milliseconds(busyForMs));
            if (clock.untilNext())
                running.takeHandOvers();
        });
    });

    RunningCopy later;
    QCOMPARE(later.start(m_folder->path(), u"/sounds/Later.tvs"_s), role);

    QCOMPARE(arrived.size(), role == RunningCopy::Role::HandedOver ? 1 : 0);
}

QTEST_GUILESS_MAIN(RunningCopyTest)
#include "RunningCopyTest.moc"
