// The question at exit when the load lists have changed, and what each answer saves.
#include "window/frmKivo.h"

#include "FileSizeLimit.h"
#include "ReadOnlyFolder.h"
#include "WindowFixture.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QTest>

#include <cerrno>
#include <optional>

using namespace kivo;
using namespace kivo::test;
using namespace Qt::StringLiterals;

namespace {
// Where the data folder stands when the user answers the question at exit.
enum class Disk { Ordinary, Full, ReadOnly };
} // namespace
Q_DECLARE_METATYPE(Disk)

class frmKivoExitTest : public QObject, private WindowFixture {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { setUpOnce(); }
    void init() { setUp(); }
    void cleanup() { tearDown(); }

    void unsavedChangesAtExit_data();
    void unsavedChangesAtExit();
    void exitAfterAStartPastUnreadLinesAsksNothing();
};

void frmKivoExitTest::unsavedChangesAtExit_data()
{
    QTest::addColumn<bool>("edit");
    QTest::addColumn<bool>("saveFirst");
    QTest::addColumn<int>("answer"); // 0: no question expected
    QTest::addColumn<Disk>("disk");
    QTest::addColumn<bool>("closed");
    QTest::addColumn<bool>("editInFile");
    QTest::addColumn<QStringList>("messages"); // the message boxes after the answer
    QTest::addColumn<QString>("status"); // null: not looked at

    const QString saved = u" All of your Load Lists has been saved"_s;
    const QString notSaved = u" Your Load Lists could not be saved"_s;
    // The window stays, and a box says so with the system's reason where it gave one.
    const QString notSavedBox = notSaved.trimmed();
    QTest::newRow("nothing changed") << false << false << 0 << Disk::Ordinary << true << false << QStringList()
                                     << QString();
    QTest::newRow("saved before exit") << true << true << 0 << Disk::Ordinary << true << true << QStringList()
                                       << saved;
    QTest::newRow("Yes saves") << true << false << int(Answer::Yes) << Disk::Ordinary << true << true
                               << QStringList() << saved;
    QTest::newRow("No drops the changes") << true << false << int(Answer::No) << Disk::Ordinary << true << false
                                          << QStringList() << QString();
    QTest::newRow("Cancel stays") << true << false << int(Answer::Cancel) << Disk::Ordinary << false << false
                                  << QStringList() << QString();
    QTest::newRow("Yes on a full disk stays")
        << true << false << int(Answer::Yes) << Disk::Full << false << false
        << QStringList{notSavedBox + u"\r\n"_s + qt_error_string(EFBIG)} << notSaved;
    // The opening has said why already.
    QTest::newRow("Yes in a read-only folder stays")
        << true << false << int(Answer::Yes) << Disk::ReadOnly << false << false
        << QStringList{u"Kivo Rudovaz data path no longer exist"_s, notSavedBox} << notSaved;
}

void frmKivoExitTest::unsavedChangesAtExit()
{
    QFETCH(bool, edit);
    QFETCH(bool, saveFirst);
    QFETCH(int, answer);
    QFETCH(Disk, disk);
    QFETCH(bool, closed);
    QFETCH(bool, editInFile);
    QFETCH(QStringList, messages);
    QFETCH(QString, status);

    prepareDataFolder({u"Alpha"_s, u"Bravo"_s}, {{u"First"_s, {u"Alpha"_s}}});
    QVERIFY(start());
    const QString listFile = dataFolder() + u"First.dat"_s;
    if (edit) {
        control<QListWidget>(u"objLibrary"_s).setCurrentRow(1);
        control<QListWidget>(u"objLoadList"_s).setCurrentRow(5);
        invoke(u"moveButton"_s);
        QCOMPARE(control<QListWidget>(u"objLoadList"_s).item(5)->text(), u"Bravo"_s);
    }
    if (saveFirst)
        invoke(u"saveButton"_s);
    const qsizetype shownBefore = m_seam->messages().size();

    {
        std::optional<FileSizeLimit> fullDisk;
        std::optional<ReadOnlyFolder> readOnly;
        if (disk == Disk::Full) {
            fullDisk.emplace(16);
        } else if (disk == Disk::ReadOnly) {
            readOnly.emplace(dataFolder());
            if (!readOnly->isReadOnly())
                QSKIP("the data folder cannot be made read-only here");
        }
        if (answer != 0)
            m_seam->answerNext(static_cast<Answer>(answer));
        invoke(u"flmExit"_s);
    }

    const QStringList texts = m_seam->messageTexts().mid(shownBefore);
    QCOMPARE(texts.count(saveQuestion), answer != 0 ? 1 : 0);
    if (answer != 0) {
        const MessageRequest &question = m_seam->messages().at(shownBefore);
        QCOMPARE(question.text, saveQuestion);
        QCOMPARE(question.buttons, Buttons::YesNoCancel);
        QCOMPARE(question.icon, Icon::None);
        QCOMPARE(question.title, QString());
    }
    QCOMPARE(texts.mid(answer != 0 ? 1 : 0), messages);
    for (const MessageRequest &box : m_seam->messages().mid(shownBefore + (answer != 0 ? 1 : 0))) {
        QCOMPARE(box.buttons, Buttons::Ok);
        QCOMPARE(box.title, QString());
    }
    if (!status.isNull())
        QCOMPARE(control<QLabel>(u"objStatusBar"_s).text(), status);
    QCOMPARE(m_window->isVisible(), !closed);
    // The shut-down runs only when the window goes.
    QCOMPARE(storedUserValue(u"Loadlist"_s).isEmpty(), !closed);
    const auto fileHoldsEdit = [&listFile] {
        QFile file(listFile);
        return file.open(QIODevice::ReadOnly) && file.readAll().contains("Bravo");
    };
    QCOMPARE(fileHoldsEdit(), editInFile);
    if (!closed) {
        // Once there is room again, the same question saves the edit; else No leaves it.
        const bool retry = disk != Disk::Ordinary;
        m_seam->answerNext(retry ? Answer::Yes : Answer::No);
        invoke(u"flmExit"_s);
        QVERIFY(!m_window->isVisible());
        QCOMPARE(fileHoldsEdit(), retry);
    }
}

void frmKivoExitTest::exitAfterAStartPastUnreadLinesAsksNothing()
{
    prepareDataFolder({u"Alpha"_s, u"Bravo"_s}, {{u"First"_s, {u"Alpha"_s}}});
    const QString listFile = dataFolder() + u"First.dat"_s;
    QFile file(listFile);
    QVERIFY(file.open(QIODevice::Append));
    QVERIFY(file.write("12\t3\tThirteenth\t/s/13.tvs\r\nthree\tfields\tonly\r\n") > 0);
    file.close();
    const auto bytesOf = [](const QString &path) {
        QFile in(path);
        return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
    };
    const QByteArray before = bytesOf(listFile);
    QVERIFY(start());
    const qsizetype shownBefore = m_seam->messages().size();

    invoke(u"flmExit"_s);

    QCOMPARE(m_seam->messageTexts().mid(shownBefore), QStringList());
    QVERIFY(!m_window->isVisible());
    QCOMPARE(bytesOf(listFile), before);
    QCOMPARE(QDir(dataFolder()).entryList({u"*.unread"_s}, QDir::Files), QStringList());
}

QTEST_MAIN(frmKivoExitTest)
#include "frmKivoExitTest.moc"
