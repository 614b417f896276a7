#include "window/frmAbout.h"

#include "ModalAnswerer.h"
#include "WindowFixture.h"

#include <QApplication>
#include <QDesktopServices>
#include <QPushButton>
#include <QTest>
#include <QUrl>

using namespace kivo;
using namespace kivo::test;
using namespace Qt::StringLiterals;

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

// The commands of the help menu that the main window carries out itself.
class HelpCommandsTest : public QObject, public WindowFixture {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { setUpOnce(); }
    void init() { setUp(); }
    void cleanup() { tearDown(); }

    void webSiteOpensInTheBrowser();
    void aboutIsModalOverTheActiveWindow();
    void aboutReturnsWhenClosed();
};

void HelpCommandsTest::webSiteOpensInTheBrowser()
{
    QVERIFY(start());
    Browser browser;
    QDesktopServices::setUrlHandler(u"https"_s, &browser, "open");

    invoke(u"flmKRWeb"_s);

    QDesktopServices::unsetUrlHandler(u"https"_s);
    QCOMPARE(browser.opened, QList<QUrl>{QUrl(u"https://www.tulvex.com/kivo-rudovaz"_s)});
    QVERIFY(m_seam->messages().isEmpty());
}

void HelpCommandsTest::aboutIsModalOverTheActiveWindow()
{
    QVERIFY(start());
    activate();
    bool about = false;
    QWidget *owner = nullptr;
    m_seam->onNextDialog([&](QDialog &dialog) {
        about = qobject_cast<frmAbout *>(&dialog) != nullptr;
        owner = dialog.parentWidget();
        return int(QDialog::Accepted);
    });

    invoke(u"flmAKR"_s);

    QVERIFY(m_seam->allAnswersUsed());
    QVERIFY(about);
    QCOMPARE(owner, m_window.get());
}

void HelpCommandsTest::aboutReturnsWhenClosed()
{
    QVERIFY(start());
    activate();
    // The box runs its own modal loop, as on the screen, until OK is clicked there.
    m_seam->onNextDialog([](QDialog &dialog) { return dialog.exec(); });
    bool wasModal = false;
    whenModalActive([&](QWidget &modal) {
        wasModal = qobject_cast<frmAbout *>(&modal) != nullptr && modal.isModal();
        QTest::mouseClick(modal.findChild<QPushButton *>(u"cmdOK"_s), Qt::LeftButton);
    });

    invoke(u"flmAKR"_s);

    QVERIFY(wasModal);
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
}

QTEST_MAIN(HelpCommandsTest)
#include "HelpCommandsTest.moc"
