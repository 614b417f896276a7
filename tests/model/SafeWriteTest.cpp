#include "model/SafeWrite.h"

#include "FileSizeLimit.h"
#include "ScriptedModalSeam.h"
#include "TempDataFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>

#include <cerrno>
#include <system_error>

using namespace kivo;

class SafeWriteTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void writeRefusedWhereAFolderStands();
    void failedWriteLeavesOldFileWhole();
};

void SafeWriteTest::writeRefusedWhereAFolderStands()
{
    test::TempDataFolder folder;
    test::ScriptedModalSeam seam;
    QVERIFY(QDir().mkdir(folder.filePath(QStringLiteral("Blocked.dat"))));
    forgetWriteFailure();
    QVERIFY(writeFile(QStringLiteral("text"), folder.filePath(QStringLiteral("Blocked.dat"))));
    // The data folder is there and takes files: the system says what is in the way, and
    // a save that reports the failure says it again.
    const QString isFolder = QString::fromStdString(std::generic_category().message(EISDIR));
    QCOMPARE(seam.messageTexts(), QStringList{isFolder});
    QCOMPARE(lastWriteFailure(), isFolder);
    QVERIFY(QFileInfo(folder.filePath(QStringLiteral("Blocked.dat"))).isDir());
}

void SafeWriteTest::failedWriteLeavesOldFileWhole()
{
#ifdef Q_OS_UNIX
    test::TempDataFolder folder;
    test::ScriptedModalSeam seam;
    const QByteArray old("0\t1\told\tp\r\n\r\n");
    QVERIFY(folder.writeBytes(QStringLiteral("Target.dat"), old));
    bool failed = false;
    {
        test::FileSizeLimit limit(64);
        failed = writeFile(QString(4096, u'x'), folder.filePath(QStringLiteral("Target.dat")));
    }
    QVERIFY(failed);
    QVERIFY(seam.messages().isEmpty());
    QCOMPARE(folder.readBytes(QStringLiteral("Target.dat")), old);
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("Target.dat")});
    // The write stopped short at the limit; the system's reason is kept for the save to
    // report, through later writes that succeed.
    QCOMPARE(lastWriteFailure(), qt_error_string(EFBIG));
    QVERIFY(!writeFile(QStringLiteral("new"), folder.filePath(QStringLiteral("Target.dat"))));
    QCOMPARE(lastWriteFailure(), qt_error_string(EFBIG));
    forgetWriteFailure();
    QCOMPARE(lastWriteFailure(), QString());
#else
    QSKIP("needs a file size limit");
#endif
}

QTEST_GUILESS_MAIN(SafeWriteTest)
#include "SafeWriteTest.moc"
