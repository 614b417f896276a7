#include "platform/QtModalSeam.h"

#include "FormControls.h"
#include "ModalAnswerer.h"

#include <QAbstractButton>
#include <QDialog>
#include <QMessageBox>
#include <QTest>

using namespace kivo;

Q_DECLARE_METATYPE(kivo::Buttons)
Q_DECLARE_METATYPE(kivo::Answer)
Q_DECLARE_METATYPE(QMessageBox::StandardButton)

class QtModalSeamTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup();
    void answerCodes_data();
    void answerCodes();
    void escapeAnswersLikeClosing_data();
    void escapeAnswersLikeClosing();
    void enterAnswersTheFirstButton_data();
    void enterAnswersTheFirstButton();
    void titleAndIcon();
    void textShownAsGiven_data();
    void textShownAsGiven();
    void execDialog();
};

void QtModalSeamTest::cleanup()
{
    QTRY_VERIFY(test::visibleTopLevels().isEmpty());
}

void QtModalSeamTest::answerCodes_data()
{
    QTest::addColumn<Buttons>("buttons");
    QTest::addColumn<QMessageBox::StandardButton>("click");
    QTest::addColumn<Answer>("answer");

    QTest::newRow("ok") << Buttons::Ok << QMessageBox::Ok << Answer::Ok;
    QTest::newRow("abort") << Buttons::AbortRetryIgnore << QMessageBox::Abort << Answer::Abort;
    QTest::newRow("retry") << Buttons::AbortRetryIgnore << QMessageBox::Retry << Answer::Retry;
    QTest::newRow("ignore") << Buttons::AbortRetryIgnore << QMessageBox::Ignore << Answer::Ignore;
    QTest::newRow("yes of three") << Buttons::YesNoCancel << QMessageBox::Yes << Answer::Yes;
    QTest::newRow("no of three") << Buttons::YesNoCancel << QMessageBox::No << Answer::No;
    QTest::newRow("cancel") << Buttons::YesNoCancel << QMessageBox::Cancel << Answer::Cancel;
    QTest::newRow("yes of two") << Buttons::YesNo << QMessageBox::Yes << Answer::Yes;
    QTest::newRow("no of two") << Buttons::YesNo << QMessageBox::No << Answer::No;
}

void QtModalSeamTest::answerCodes()
{
    QFETCH(Buttons, buttons);
    QFETCH(QMessageBox::StandardButton, click);
    QFETCH(Answer, answer);

    int shownButtons = 0;
    test::whenModalActive([&](QWidget &modal) {
        auto &box = dynamic_cast<QMessageBox &>(modal);
        shownButtons = static_cast<int>(box.buttons().size());
        box.button(click)->click();
    });
    QtModalSeam seam;
    QCOMPARE(seam.messageBox({QStringLiteral("Question?"), buttons, Icon::None, {}}), answer);
    const int expectedButtons = buttons == Buttons::Ok ? 1 : buttons == Buttons::YesNo ? 2 : 3;
    QCOMPARE(shownButtons, expectedButtons);
}

void QtModalSeamTest::escapeAnswersLikeClosing_data()
{
    QTest::addColumn<Buttons>("buttons");
    QTest::addColumn<Answer>("answer");

    QTest::newRow("ok") << Buttons::Ok << Answer::Ok;
    QTest::newRow("yes no cancel") << Buttons::YesNoCancel << Answer::Cancel;
}

void QtModalSeamTest::escapeAnswersLikeClosing()
{
    QFETCH(Buttons, buttons);
    QFETCH(Answer, answer);

    test::whenModalActive([](QWidget &modal) { QTest::keyClick(&modal, Qt::Key_Escape); });
    QtModalSeam seam;
    QCOMPARE(seam.messageBox({QStringLiteral("Question?"), buttons, Icon::None, {}}), answer);
}

void QtModalSeamTest::enterAnswersTheFirstButton_data()
{
    QTest::addColumn<Buttons>("buttons");
    QTest::addColumn<Answer>("answer");

    QTest::newRow("ok") << Buttons::Ok << Answer::Ok;
    QTest::newRow("abort retry ignore") << Buttons::AbortRetryIgnore << Answer::Abort;
    QTest::newRow("yes no cancel") << Buttons::YesNoCancel << Answer::Yes;
    QTest::newRow("yes no") << Buttons::YesNo << Answer::Yes;
}

void QtModalSeamTest::enterAnswersTheFirstButton()
{
    QFETCH(Buttons, buttons);
    QFETCH(Answer, answer);

    test::whenModalActive([](QWidget &modal) { QTest::keyClick(&modal, Qt::Key_Return); });
    QtModalSeam seam;
    QCOMPARE(seam.messageBox({QStringLiteral("Question?"), buttons, Icon::None, {}}), answer);
}

void QtModalSeamTest::titleAndIcon()
{
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    const auto capture = [&](QWidget &modal) {
        auto &box = dynamic_cast<QMessageBox &>(modal);
        title = box.windowTitle();
        text = box.text();
        icon = box.icon();
        box.button(QMessageBox::Ok)->click();
    };
    QtModalSeam seam;

    test::whenModalActive(capture);
    seam.messageBox({QStringLiteral("Done"), Buttons::Ok, Icon::None, {}});
    QCOMPARE(title, QStringLiteral("Kivo Rudovaz"));
    QCOMPARE(text, QStringLiteral("Done"));
    QCOMPARE(icon, QMessageBox::NoIcon);

    test::whenModalActive(capture);
    seam.messageBox({QStringLiteral("Copy failed"), Buttons::Ok, Icon::Information, QStringLiteral("Error Copying Files")});
    QCOMPARE(title, QStringLiteral("Error Copying Files"));
    QCOMPARE(icon, QMessageBox::Information);
}

void QtModalSeamTest::textShownAsGiven_data()
{
    QTest::addColumn<QString>("text");

    QTest::newRow("plain") << QStringLiteral("Please select a Sound Image to remove");
    QTest::newRow("path and name that look like markup")
        << QStringLiteral("File: /tmp/<b>new</b>.tvs already exist as: <i>old</i>\r\n\r\n"
                          "Do you want to replace it as: Bass?");
    QTest::newRow("escaped markup") << QStringLiteral("Delete Load List a &lt;1&gt; b?");
}

void QtModalSeamTest::textShownAsGiven()
{
    QFETCH(QString, text);

    QString shown;
    test::whenModalActive([&shown](QWidget &modal) {
        shown = test::shownText(test::control<QLabel>(modal, QStringLiteral("qt_msgbox_label")));
        dynamic_cast<QMessageBox &>(modal).button(QMessageBox::Ok)->click();
    });
    QtModalSeam seam;
    seam.messageBox({text, Buttons::Ok, Icon::None, {}});
    QCOMPARE(shown, text);
}

void QtModalSeamTest::execDialog()
{
    QDialog dialog;
    test::whenModalActive([](QWidget &modal) { dynamic_cast<QDialog &>(modal).accept(); });
    QtModalSeam seam;
    QCOMPARE(seam.execDialog(dialog), int(QDialog::Accepted));
}

QTEST_MAIN(QtModalSeamTest)
#include "QtModalSeamTest.moc"
