#include "window/frmKivo.h"
#include "window/RunningCopy.h"

#include "WindowFixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLockFile>
#include <QTest>

using namespace kivo;
using namespace Qt::StringLiterals;
using namespace kivo::test;

namespace {

// What stands where the lock file belongs before the start.
enum class InTheWay { OtherComputer, Folder, FolderWithAFile, EmptyFile };

const QString otherComputer = u"studio-pc"_s;

const QString otherComputerQuestion
    = u"Kivo Rudovaz is running on your files on the computer \"%2\", or it ended there without letting them go, "
      "as the lock file \"%1\" says. It cannot be reached from here.\r\n\r\nTake your files over? Do so only if "
      "Kivo Rudovaz no longer runs on \"%2\": two copies would overwrite each other's saves."_s;
const QString noCopyQuestion = u"Your files are locked by \"%1\", which names no copy of Kivo Rudovaz.\r\n\r\n"
                               "Remove it and take your files over? Do so only if Kivo Rudovaz runs on them on no "
                               "other computer."_s;
const QString cannotRemove = u"Kivo Rudovaz cannot take your files over: \"%1\" cannot be removed.\r\n%2"_s;

} // namespace

Q_DECLARE_METATYPE(InTheWay)
Q_DECLARE_METATYPE(Answer)

class StartUpTest : public QObject, private WindowFixture {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { setUpOnce(); }
    void init() { setUp(); }
    void cleanup();

    void lockThatNoCopyHereHolds_data();
    void lockThatNoCopyHereHolds();

private:
    QString lockFile() const
    {
        return QDir(QFileInfo(dataFolder()).canonicalFilePath()).filePath(RunningCopy::lockFileName());
    }
    void putInTheWay(InTheWay what);
    QByteArray lockContent() const;
};

void StartUpTest::cleanup()
{
    tearDown();
    QLocalServer::removeServer(RunningCopy::serverName(dataFolder()));
    QDir(dataFolder()).removeRecursively();
}

void StartUpTest::putInTheWay(InTheWay what)
{
    const QString path = lockFile();
    switch (what) {
    case InTheWay::OtherComputer: {
        // As a copy there writes it: its process, its program, its computer.
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("4242\nkivo-rudovaz\n" + otherComputer.toUtf8() + "\n0123456789abcdef\nboot-of-studio-pc\n");
        break;
    }
    case InTheWay::Folder:
        QVERIFY(QDir().mkpath(path));
        break;
    case InTheWay::FolderWithAFile: {
        QVERIFY(QDir().mkpath(path));
        QFile file(path + u"/notes.txt"_s);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("kept\n");
        break;
    }
    case InTheWay::EmptyFile: {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        break;
    }
    }
}

QByteArray StartUpTest::lockContent() const
{
    QFile file(lockFile());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void StartUpTest::lockThatNoCopyHereHolds_data()
{
    QTest::addColumn<InTheWay>("what");
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<bool>("started");

    QTest::newRow("another computer, left alone") << InTheWay::OtherComputer << Answer::No << false;
    QTest::newRow("another computer, taken over") << InTheWay::OtherComputer << Answer::Yes << true;
    QTest::newRow("a folder, taken over") << InTheWay::Folder << Answer::Yes << true;
    QTest::newRow("a folder with a file, not removable") << InTheWay::FolderWithAFile << Answer::Yes << false;
    QTest::newRow("an empty file, taken over") << InTheWay::EmptyFile << Answer::Yes << true;
}

// A lock that no copy on this computer holds is no reason to lock the user out for
// ever: the user is told where it is and whose it is, and may take the files over.
void StartUpTest::lockThatNoCopyHereHolds()
{
    QFETCH(InTheWay, what);
    QFETCH(Answer, answer);
    QFETCH(bool, started);

    prepareDataFolder({}, {});
    putInTheWay(what);
    if (QTest::currentTestFailed())
        return;
    const QByteArray before = lockContent();
    m_seam->answerNext(answer);

    QCOMPARE(start(), started);

    const QString path = QDir::toNativeSeparators(lockFile());
    QStringList expected{what == InTheWay::OtherComputer ? otherComputerQuestion.arg(path, otherComputer)
                                                        : noCopyQuestion.arg(path)};
    if (what == InTheWay::FolderWithAFile)
        expected.append(cannotRemove.arg(path, u"Directory not empty"_s));
    QCOMPARE(m_seam->messageTexts(), expected);
    QCOMPARE(m_seam->messages().at(0).buttons, Buttons::YesNo);
    QVERIFY(m_seam->allAnswersUsed());
    QCOMPARE(m_window->isVisible(), started);
    if (started) {
        QLockFile lock(lockFile());
        qint64 pid = 0;
        QString host;
        QString application;
        QVERIFY(lock.getLockInfo(&pid, &host, &application));
        QCOMPARE(pid, QCoreApplication::applicationPid());
    } else if (what == InTheWay::FolderWithAFile) {
        QVERIFY(QFileInfo::exists(lockFile() + u"/notes.txt"_s));
    } else {
        QCOMPARE(lockContent(), before);
    }
}

QTEST_MAIN(StartUpTest)
#include "StartUpTest.moc"
