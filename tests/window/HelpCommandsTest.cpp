#include "window/HelpCommands.h"
#include "window/frmAbout.h"

#include "ModalAnswerer.h"
#include "ScriptedModalSeam.h"

#include <QApplication>
#include <QDesktopServices>
#include <QPushButton>
#include <QTest>
#include <QUrl>

using namespace kivo;
using namespace Qt::StringLiterals;
using kivo::test::ScriptedModalSeam;

namespace {

// Stands in for the user's browser: keeps the addresses it is asked to open.
class Browser : public QObject {
    Q_OBJECT

public:
    QList<QUrl> opened;

public Q_SLOTS:
    void open(const QUrl &url) { opened.append(url); }
};

} // namespace

class HelpCommandsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup();

    void webSiteOpensInTheBrowser();
    void aboutIsModalOverTheActiveWindow();
    void aboutReturnsWhenClosed();
};

void HelpCommandsTest::cleanup()
{
    QVERIFY2(QApplication::topLevelWidgets().isEmpty(), "a window outlived its test");
}

void HelpCommandsTest::webSiteOpensInTheBrowser()
{
    Browser browser;
    QDesktopServices::setUrlHandler(u"https"_s, &browser, "open");
    ScriptedModalSeam seam;

    openProductWebSite();

    QDesktopServices::unsetUrlHandler(u"https"_s);
    QCOMPARE(browser.opened, QList<QUrl>{QUrl(u"https://www.tulvex.com/kivo-rudovaz"_s)});
    QVERIFY(seam.messages().isEmpty());
}

void HelpCommandsTest::aboutIsModalOverTheActiveWindow()
{
    QWidget mainForm;
    mainForm.show();
    mainForm.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&mainForm));
    ScriptedModalSeam seam;
    QObject *shown = nullptr;
    QWidget *owner = nullptr;
    seam.onNextDialog([&](QDialog &dialog) {
        shown = qobject_cast<frmAbout *>(&dialog);
        owner = dialog.parentWidget();
        return int(QDialog::Accepted);
    });

    showAboutBox();

    QVERIFY(shown != nullptr);
    QCOMPARE(owner, &mainForm);
    QVERIFY(seam.allAnswersUsed());
}

void HelpCommandsTest::aboutReturnsWhenClosed()
{
    QWidget mainForm;
    mainForm.show();
    mainForm.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&mainForm));
    bool wasModal = false;
    test::whenModalActive([&](QWidget &modal) {
        wasModal = qobject_cast<frmAbout *>(&modal) != nullptr && modal.parentWidget() == &mainForm;
        QTest::mouseClick(modal.findChild<QPushButton *>(u"cmdOK"_s), Qt::LeftButton);
    });

    showAboutBox();

    QVERIFY(wasModal);
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
}

QTEST_MAIN(HelpCommandsTest)
#include "HelpCommandsTest.moc"
