// The main window's menu items and picture buttons reach their commands.
#include "window/frmKivo.h"

#include "WindowFixture.h"

#include <QAbstractPrintDialog>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QTest>
#include <QTextBrowser>

#include <optional>

using namespace kivo;
using namespace kivo::test;
using namespace Qt::StringLiterals;

class frmKivoCommandsTest : public QObject, private WindowFixture {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { setUpOnce(); }
    void init() { setUp(); }
    void cleanup() { tearDown(); }

    void commandsForward_data();
    void commandsForward();
    void pictureBoxClick_data();
    void pictureBoxClick();
    void statusTooltipFollowsTheCaption();
    void helpViewer_data();
    void helpViewer();
};

namespace {
// The dialog that a command shows before it does anything, answered with Cancel.
enum class Dialog { None, Text, File, Print, Reminder };
} // namespace
Q_DECLARE_METATYPE(Dialog)

void frmKivoCommandsTest::commandsForward_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<Dialog>("dialog");
    QTest::addColumn<QString>("title"); // of the dialog
    QTest::addColumn<QString>("status"); // null: not looked at
    QTest::addColumn<QString>("message"); // null: no message box

    const QString selectImage = u"Please select a Sound Image from your Load List"_s;
    // With an empty library and no load list, each command says why it did nothing.
    const auto both = [](const QString &menu, const QString &button, Dialog dialog, const QString &title,
                         const QString &status, const QString &message) {
        for (const QString &control : {menu, button}) {
            if (!control.isEmpty())
                QTest::newRow(qPrintable(control)) << control << dialog << title << status << message;
        }
    };
    both(u"flmLibAdd"_s, u"addButton"_s, Dialog::File, u"Add Tulvex Sound Image"_s, u" Add Sound Image aborted"_s,
         QString());
    both(u"flmLibRemove"_s, u"deleteButton"_s, Dialog::None, QString(), QString(),
         u"Please select a Sound Image to remove"_s);
    both(u"flmLLCreate"_s, u"newButton"_s, Dialog::Text, u"Create New Load List"_s,
         u" New Load List creation aborted"_s, QString());
    both(u"flmLLRemove"_s, u"deleteLLbutton"_s, Dialog::None, QString(), u" No valid Load List to delete"_s, QString());
    both(u"flmSave"_s, u"saveButton"_s, Dialog::None, QString(), u" There is nothing to save"_s, QString());
    both(u"flmLLRename"_s, QString(), Dialog::Text, u"Rename Current Load List"_s, u" Rename Load List aborted"_s,
         QString());
    both(u"flmLLImport"_s, u"importButton"_s, Dialog::File, u"Select Export File"_s, u" Import was aborted"_s,
         QString());
    both(u"flmLLExport"_s, u"exportButton"_s, Dialog::File, u"Select Export Location"_s, u" Export aborted"_s,
         QString());
    // A cancelled print says nothing.
    both(u"flmPrintLib"_s, u"flmPrintLL"_s, Dialog::Print, QString(), u" Application loaded successfully"_s, QString());
    both(QString(), u"moveButton"_s, Dialog::None, QString(), QString(),
         u" Please select Sound Image from your list"_s);
    both(QString(), u"upButton"_s, Dialog::None, QString(), QString(), selectImage);
    both(QString(), u"downButton"_s, Dialog::None, QString(), QString(), selectImage);
    both(QString(), u"xButton"_s, Dialog::None, QString(), QString(), selectImage);
    both(QString(), u"TransferButton"_s, Dialog::Reminder, u"Reminder"_s, u" Writing to Kivo aborted"_s, QString());
}

void frmKivoCommandsTest::commandsForward()
{
    QFETCH(QString, control);
    QFETCH(Dialog, dialog);
    QFETCH(QString, title);
    QFETCH(QString, status);
    QFETCH(QString, message);

    QVERIFY(start());
    m_seam->clear();
    DialogSeen seen;
    bool printDialog = false;
    switch (dialog) {
    case Dialog::None:
        break;
    case Dialog::Text:
    case Dialog::Reminder:
        m_seam->onNextDialog(press(u"btnCancel"_s, &seen));
        break;
    case Dialog::File:
        m_seam->onNextFileDialog([&seen](QFileDialog &fileDialog) -> std::optional<QStringList> {
            seen.title = fileDialog.windowTitle();
            return std::nullopt;
        });
        break;
    case Dialog::Print:
        m_seam->onNextDialog([&printDialog](QDialog &shown) {
            printDialog = qobject_cast<QAbstractPrintDialog *>(&shown) != nullptr;
            return int(QDialog::Rejected);
        });
        break;
    }

    invoke(control);

    QVERIFY(m_seam->allAnswersUsed());
    QCOMPARE(m_seam->dialogsShown(), dialog == Dialog::None ? 0 : 1);
    QCOMPARE(seen.title, title);
    QCOMPARE(printDialog, dialog == Dialog::Print);
    QCOMPARE(m_seam->messageTexts(), message.isNull() ? QStringList() : QStringList{message});
    if (!status.isNull())
        QCOMPARE(this->control<QLabel>(u"objStatusBar"_s).text(), status);
    QVERIFY(m_window->isVisible());
}

namespace {
// Where a mouse button goes down and comes up again, relative to the picture box.
enum class Release { Inside, OnTheEdge, Outside };
} // namespace
Q_DECLARE_METATYPE(Release)

void frmKivoCommandsTest::pictureBoxClick_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<Release>("release");
    QTest::addColumn<bool>("runs");

    QTest::newRow("left, inside") << Qt::LeftButton << Release::Inside << true;
    QTest::newRow("left, released on the box's last pixel") << Qt::LeftButton << Release::OnTheEdge << true;
    QTest::newRow("left, released off the box") << Qt::LeftButton << Release::Outside << false;
    QTest::newRow("right") << Qt::RightButton << Release::Inside << false;
    QTest::newRow("middle") << Qt::MiddleButton << Release::Inside << false;
}

void frmKivoCommandsTest::pictureBoxClick()
{
    QFETCH(Qt::MouseButton, button);
    QFETCH(Release, release);
    QFETCH(bool, runs);

    QVERIFY(start());
    auto &box = control<QLabel>(u"saveButton"_s);
    const auto &status = control<QLabel>(u"objStatusBar"_s);
    const QString before = status.text();
    const QPoint up = release == Release::Inside ? box.rect().center()
        : release == Release::OnTheEdge          ? box.rect().bottomRight()
                                                 : box.rect().bottomRight() + QPoint(5, 5);

    QTest::mousePress(&box, button, Qt::NoModifier, box.rect().center());
    QTest::mouseRelease(&box, button, Qt::NoModifier, up);

    QCOMPARE(status.text(), runs ? u" There is nothing to save"_s : before);
    QVERIFY(m_seam->messages().isEmpty());
}

void frmKivoCommandsTest::statusTooltipFollowsTheCaption()
{
    prepareDataFolder({u"Alpha"_s}, {{u"First"_s, {u"Alpha"_s}}});
    QVERIFY(start());
    const auto &status = control<QLabel>(u"objStatusBar"_s);
    QTRY_COMPARE(status.toolTip(), u" Application loaded successfully"_s);

    invoke(u"saveButton"_s);
    QTRY_COMPARE(status.toolTip(), status.text());
    QVERIFY(!status.text().isEmpty());

    // An empty location shows an empty status text.
    control<QListWidget>(u"objLoadList"_s).setCurrentRow(3);
    QCOMPARE(status.text(), QString());
    QTRY_COMPARE(status.toolTip(), QString());
}

void frmKivoCommandsTest::helpViewer_data()
{
    QTest::addColumn<bool>("helpFileThere");
    QTest::addColumn<QString>("shown");

    QTest::newRow("help file there") << true << u"Kivo Rudovaz help contents"_s;
    QTest::newRow("help file missing") << false << u"cannot be found"_s;
}

void frmKivoCommandsTest::helpViewer()
{
    QFETCH(bool, helpFileThere);
    QFETCH(QString, shown);

    QVERIFY(start());
    if (!helpFileThere)
        QVERIFY(QFile::remove(installFolder() + u"kivoHelp.hlp"_s));

    invoke(u"flmKRH"_s);
    invoke(u"flmKRH"_s);

    const auto viewers = m_window->findChildren<QTextBrowser *>();
    QCOMPARE(viewers.size(), 1);
    QPointer<QTextBrowser> viewer = viewers.constFirst();
    QVERIFY(viewer->isVisible());
    QVERIFY(viewer->isWindow());
    QVERIFY2(viewer->toPlainText().contains(shown), qPrintable(viewer->toPlainText()));

    invoke(u"flmExit"_s);
    QTRY_VERIFY(viewer.isNull() || !viewer->isVisible());
}

QTEST_MAIN(frmKivoCommandsTest)
#include "frmKivoCommandsTest.moc"
