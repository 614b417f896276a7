#include "commands/dlgKivo.h"

#include "FormControls.h"
#include "ModalAnswerer.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QWindow>

#include <functional>
#include <memory>

using namespace kivo;
using namespace Qt::StringLiterals;
using kivo::test::control;
using kivo::test::shownText;
using kivo::test::visibleTopLevels;
using kivo::test::whenModalActive;

namespace {

enum class Act {
    Ok,
    Cancel,
    OkAll,
    CancelAll,
    CloseBox,
    Enter,
    Escape,
    AltO,
    AltC,
    AltA,
    AltL,
};

QPushButton &button(QDialog &dialog, const QString &name)
{
    return control<QPushButton>(dialog, name);
}

QLineEdit &answerBox(QDialog &dialog)
{
    return control<QLineEdit>(dialog, u"txtText"_s);
}

// Keys go where a person's keys go: to the widget that has the focus.
void press(int key, Qt::KeyboardModifiers modifiers = {})
{
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), modifiers);
}

// An access key presses its button the way a click animates it, a moment later.
void pressAccessKey(QDialog &dialog, int key)
{
    press(key, Qt::AltModifier);
    if (!QTest::qWaitFor([&dialog] { return !dialog.isVisible(); }))
        qWarning("Alt+%c pressed no button", char(key));
}

// What a person does with the dialog on the screen.
void perform(QDialog &dialog, Act act)
{
    switch (act) {
    case Act::Ok:
        QTest::mouseClick(&button(dialog, u"btnOk"_s), Qt::LeftButton);
        break;
    case Act::Cancel:
        QTest::mouseClick(&button(dialog, u"btnCancel"_s), Qt::LeftButton);
        break;
    case Act::OkAll:
        QTest::mouseClick(&button(dialog, u"btnOkAll"_s), Qt::LeftButton);
        break;
    case Act::CancelAll:
        QTest::mouseClick(&button(dialog, u"btnCancelAll"_s), Qt::LeftButton);
        break;
    case Act::CloseBox:
        dialog.windowHandle()->close();
        break;
    case Act::Enter:
        press(Qt::Key_Return);
        break;
    case Act::Escape:
        press(Qt::Key_Escape);
        break;
    case Act::AltO:
        pressAccessKey(dialog, Qt::Key_O);
        break;
    case Act::AltC:
        pressAccessKey(dialog, Qt::Key_C);
        break;
    case Act::AltA:
        pressAccessKey(dialog, Qt::Key_A);
        break;
    case Act::AltL:
        pressAccessKey(dialog, Qt::Key_L);
        break;
    }
}

// What the test saw while the dialog was on the screen.
struct Showing {
    bool shown = false;
    bool active = false;
    bool leftOpen = false;
    QWidget *owner = nullptr;
    QWidget *focus = nullptr;
    QString selected;
    QString title;
    QString text;
    QString retValWhenShown;
    QString allWhenShown;
    bool okAllEnabled = false;
    bool cancelAllEnabled = false;
    bool allButtonsVisible = false;
};

// Answers the next question from inside the dialog's own modal loop, once the dialog
// is active on the screen; a dialog that the answer left open is closed so that the
// test goes on.
std::shared_ptr<Showing> answerNextQuestion(std::function<void(QDialog &)> act)
{
    auto seen = std::make_shared<Showing>();
    whenModalActive([seen, act = std::move(act)](QWidget &modal) {
        auto *dialog = qobject_cast<dlgKivo *>(&modal);
        if (dialog == nullptr) {
            modal.close();
            return;
        }
        seen->shown = true;
        seen->active = QTest::qWaitForWindowActive(dialog);
        // The window system reports the activation before the dialog has handled it.
        seen->active = seen->active && QTest::qWaitFor([dialog] {
            return dialog->isAncestorOf(QApplication::focusWidget());
        });
        seen->owner = dialog->parentWidget();
        seen->focus = QApplication::focusWidget();
        seen->selected = answerBox(*dialog).selectedText();
        seen->title = dialog->windowTitle();
        seen->text = answerBox(*dialog).text();
        seen->retValWhenShown = dialog->strRetVal();
        seen->allWhenShown = dialog->strAll();
        seen->okAllEnabled = button(*dialog, u"btnOkAll"_s).isEnabled();
        seen->cancelAllEnabled = button(*dialog, u"btnCancelAll"_s).isEnabled();
        seen->allButtonsVisible =
            button(*dialog, u"btnOkAll"_s).isVisible() && button(*dialog, u"btnCancelAll"_s).isVisible();
        act(*dialog);
        if (dialog->isVisible()) {
            seen->leftOpen = true;
            dialog->done(QDialog::Rejected);
        }
    });
    return seen;
}

std::function<void(QDialog &)> typeThen(const QString &typed, Act act)
{
    return [typed, act](QDialog &dialog) {
        if (!typed.isNull())
            QTest::keyClicks(QApplication::focusWidget(), typed);
        perform(dialog, act);
    };
}

// The window that is active when a question is asked, as the main window is.
class ActiveWindow {
public:
    ActiveWindow()
    {
        m_window.resize(300, 200);
        m_window.show();
        m_window.activateWindow();
    }
    bool isActive() { return QTest::qWaitForWindowActive(&m_window); }
    QWidget *widget() { return &m_window; }

private:
    QWidget m_window;
};

} // namespace

Q_DECLARE_METATYPE(Act)

class dlgKivoTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup();

    void answers_data();
    void answers();
    void allButtonsKeepTheirStateAcrossQuestions_data();
    void allButtonsKeepTheirStateAcrossQuestions();
    void closingUnloadsAndTheNextQuestionLoadsAfresh_data();
    void closingUnloadsAndTheNextQuestionLoadsAfresh();
    void presentsTheQuestion_data();
    void presentsTheQuestion();
    void controlsAndTabOrder_data();
    void controlsAndTabOrder();
    void outlivesTheWindowThatOwnedIt();
    void factoryGivesTheOneDialog();
};

void dlgKivoTest::cleanup()
{
    QVERIFY2(visibleTopLevels().isEmpty(), "a window outlived its test");
    QCOMPARE(gDialog, nullptr);
}

void dlgKivoTest::answers_data()
{
    QTest::addColumn<QString>("defaultAnswer");
    QTest::addColumn<QString>("typed"); // null: nothing typed
    QTest::addColumn<Act>("act");
    QTest::addColumn<QString>("retVal");
    QTest::addColumn<QString>("all");

    const QString nothing;
    const QString okAll = OkAll.toString();
    const QString cancelAll = CancelAll.toString();
    QTest::newRow("Ok keeps the default, trimmed") << u"  Bass 1  "_s << nothing << Act::Ok << u"Bass 1"_s
                                                   << QString();
    QTest::newRow("Ok, typed") << u"Bass 1"_s << u"Lead"_s << Act::Ok << u"Lead"_s << QString();
    QTest::newRow("Ok, typed blanks only") << u"Bass 1"_s << u"   "_s << Act::Ok << QString() << QString();
    QTest::newRow("Ok, text taken literally") << u"Bass 1"_s << u"Bass %1 "_s << Act::Ok << u"Bass %1"_s
                                              << QString();
    QTest::newRow("Cancel") << u"Bass 1"_s << u"Lead"_s << Act::Cancel << QString() << QString();
    QTest::newRow("Ok All") << u"Bass 1"_s << u" Pad "_s << Act::OkAll << u"Pad"_s << okAll;
    QTest::newRow("Ok All, blanks only") << u"Bass 1"_s << u"  "_s << Act::OkAll << QString() << okAll;
    QTest::newRow("Cancel All") << u"Bass 1"_s << u"Lead"_s << Act::CancelAll << QString() << cancelAll;
    QTest::newRow("close box") << u"Bass 1"_s << u"Lead"_s << Act::CloseBox << QString() << cancelAll;
    QTest::newRow("Enter") << u"Bass 1"_s << u"Lead"_s << Act::Enter << u"Lead"_s << QString();
    QTest::newRow("Enter keeps the default") << u"Bass 1"_s << nothing << Act::Enter << u"Bass 1"_s
                                             << QString();
    QTest::newRow("Escape") << u"Bass 1"_s << u"Lead"_s << Act::Escape << QString() << QString();
    QTest::newRow("Alt+O") << u"Bass 1"_s << u"Lead"_s << Act::AltO << u"Lead"_s << QString();
    QTest::newRow("Alt+C") << u"Bass 1"_s << u"Lead"_s << Act::AltC << QString() << QString();
    QTest::newRow("Alt+A") << u"Bass 1"_s << u"Lead"_s << Act::AltA << u"Lead"_s << okAll;
    QTest::newRow("Alt+L") << u"Bass 1"_s << u"Lead"_s << Act::AltL << QString() << cancelAll;
}

void dlgKivoTest::answers()
{
    QFETCH(QString, defaultAnswer);
    QFETCH(QString, typed);
    QFETCH(Act, act);
    QFETCH(QString, retVal);
    QFETCH(QString, all);

    ActiveWindow mainForm;
    QVERIFY(mainForm.isActive());
    dlgKivo dialog;
    gDialog = &dialog;
    dialog.showAll(true);
    dialog.setStrRetVal(u"earlier answer"_s);
    dialog.setStrAll(u"earlier code"_s);
    const auto seen = answerNextQuestion(typeThen(typed, act));

    const QString result = askText(u"Adding Sound Image"_s, defaultAnswer, u"Enter name for file: "_s);

    QVERIFY(seen->shown);
    QVERIFY(seen->active);
    QVERIFY(!seen->leftOpen);
    QCOMPARE(seen->owner, mainForm.widget());
    QCOMPARE(seen->focus, &answerBox(dialog));
    QCOMPARE(seen->selected, defaultAnswer);
    QCOMPARE(result, retVal);
    QCOMPARE(dialog.strRetVal(), retVal);
    QCOMPARE(dialog.strAll(), all);
    QVERIFY(!dialog.isVisible());
}

void dlgKivoTest::allButtonsKeepTheirStateAcrossQuestions_data()
{
    QTest::addColumn<bool>("offered");
    QTest::addColumn<QString>("lastAll"); // after pressing Cancel All in the last question

    QTest::newRow("offered") << true << CancelAll.toString();
    QTest::newRow("greyed out") << false << QString();
}

void dlgKivoTest::allButtonsKeepTheirStateAcrossQuestions()
{
    QFETCH(bool, offered);
    QFETCH(QString, lastAll);

    dlgKivo dialog;
    gDialog = &dialog;
    dialog.showAll(offered);
    const auto first = answerNextQuestion(typeThen({}, Act::Ok));
    askText(u"Adding Sound Image"_s, u"Bass"_s, u"Enter name for file: /tmp/Bass.tvs"_s);
    // A question asked without a new call, as the question for a taken name is.
    const auto second = answerNextQuestion([](QDialog &d) {
        perform(d, Act::CancelAll);
        if (d.isVisible())
            perform(d, Act::Escape);
    });
    askText(u"Duplicate Name"_s, u"Bass"_s, u"The name: Bass is already in the list."_s);

    for (const auto &seen : {first, second}) {
        QVERIFY(seen->shown);
        QVERIFY(!seen->leftOpen);
        QVERIFY(seen->allButtonsVisible);
        QCOMPARE(seen->okAllEnabled, offered);
        QCOMPARE(seen->cancelAllEnabled, offered);
    }
    QCOMPARE(dialog.strRetVal(), QString());
    QCOMPARE(dialog.strAll(), lastAll);
}

void dlgKivoTest::closingUnloadsAndTheNextQuestionLoadsAfresh_data()
{
    QTest::addColumn<bool>("atShutDown");

    QTest::newRow("close box") << false;
    QTest::newRow("shut-down") << true;
}

void dlgKivoTest::closingUnloadsAndTheNextQuestionLoadsAfresh()
{
    QFETCH(bool, atShutDown);

    dlgKivo dialog;
    gDialog = &dialog;
    dialog.showAll(true);
    if (atShutDown) {
        dialog.initText(u"Rename"_s, u"Drums"_s, u"Enter the new name"_s);
        dialog.setStrRetVal(u"Drums"_s);
        dialog.unload();
    } else {
        answerNextQuestion(typeThen(u"Lead"_s, Act::CloseBox));
        QCOMPARE(askText(u"Rename"_s, u"Drums"_s, u"Enter the new name"_s), QString());
    }
    QVERIFY(!dialog.isVisible());
    // Closed, the dialog still tells its caller the last answer.
    QCOMPARE(dialog.strRetVal(), QString());
    QCOMPARE(dialog.strAll(), CancelAll.toString());

    const auto seen = answerNextQuestion(typeThen({}, Act::Enter));
    const QString result = askText(u"New List"_s, u"Live"_s, u"Enter a name"_s);

    QVERIFY(seen->shown);
    QCOMPARE(seen->retValWhenShown, QString());
    QCOMPARE(seen->allWhenShown, QString());
    QCOMPARE(seen->title, u"New List"_s);
    QCOMPARE(seen->text, u"Live"_s);
    QCOMPARE(result, u"Live"_s);
    QCOMPARE(dialog.strAll(), QString());
}

void dlgKivoTest::presentsTheQuestion_data()
{
    QTest::addColumn<QString>("message1");
    QTest::addColumn<QString>("message2"); // null: left out
    QTest::addColumn<QStringList>("lines1");
    QTest::addColumn<QStringList>("lines2");

    QTest::newRow("two lines in the first message")
        << u"The name: Bass is already in the list.\r\nPlease enter a new name"_s << QString()
        << QStringList{u"The name: Bass is already in the list."_s, u"Please enter a new name"_s}
        << QStringList{QString()};
    QTest::newRow("two lines in the second message")
        << u"Please enter a valid name"_s
        << u"Cannot use: /\\:*?\"<>|\r\nName must start with either a letter or number"_s
        << QStringList{u"Please enter a valid name"_s}
        << QStringList{u"Cannot use: /\\:*?\"<>|"_s, u"Name must start with either a letter or number"_s};
    QTest::newRow("empty second message") << u"Enter name for file: /tmp/%1.tvs"_s << QString()
                                          << QStringList{u"Enter name for file: /tmp/%1.tvs"_s}
                                          << QStringList{QString()};
    QTest::newRow("a name that looks like markup")
        << u"The name: <b>Bass</b> &lt;1&gt; is already in the list.\r\nPlease enter a new name"_s
        << u"Enter name for file: /tmp/<i>Bass</i>.tvs"_s
        << QStringList{u"The name: <b>Bass</b> &lt;1&gt; is already in the list."_s, u"Please enter a new name"_s}
        << QStringList{u"Enter name for file: /tmp/<i>Bass</i>.tvs"_s};
}

void dlgKivoTest::presentsTheQuestion()
{
    QFETCH(QString, message1);
    QFETCH(QString, message2);
    QFETCH(QStringList, lines1);
    QFETCH(QStringList, lines2);

    dlgKivo dialog;
    dialog.initText(u"Old Title"_s, u"old"_s, u"old first"_s, u"old second"_s);
    dialog.showAll(false);
    dialog.setStrRetVal(u"Bass"_s);
    dialog.setStrAll(OkAll.toString());

    if (message2.isNull())
        dialog.initText(u"Duplicate Name"_s, u"Bass"_s, message1);
    else
        dialog.initText(u"Duplicate Name"_s, u"Bass"_s, message1, message2);

    QCOMPARE(dialog.windowTitle(), u"Duplicate Name"_s);
    QCOMPARE(answerBox(dialog).text(), u"Bass"_s);
    QCOMPARE(shownText(control<QLabel>(dialog, u"lblLabel1"_s)).split(u'\n'), lines1);
    QCOMPARE(shownText(control<QLabel>(dialog, u"lblLabel2"_s)).split(u'\n'), lines2);
    // Preparing a question changes neither the last answer nor the buttons for all.
    QCOMPARE(dialog.strRetVal(), u"Bass"_s);
    QCOMPARE(dialog.strAll(), OkAll.toString());
    QVERIFY(!button(dialog, u"btnOkAll"_s).isEnabled());
    QVERIFY(!button(dialog, u"btnCancelAll"_s).isEnabled());
    QVERIFY(!dialog.isVisible());
}

void dlgKivoTest::controlsAndTabOrder_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QRect>("twips"); // left, top, width, height

    QTest::newRow("lblLabel1") << u"lblLabel1"_s << QString() << QRect(120, 120, 5535, 390);
    QTest::newRow("lblLabel2") << u"lblLabel2"_s << QString() << QRect(120, 480, 5535, 390);
    QTest::newRow("txtText") << u"txtText"_s << QString() << QRect(120, 960, 5535, 325);
    QTest::newRow("btnOkAll") << u"btnOkAll"_s << u"Ok &All"_s << QRect(120, 1560, 1215, 375);
    QTest::newRow("btnOk") << u"btnOk"_s << u"&Ok"_s << QRect(1560, 1560, 1215, 375);
    QTest::newRow("btnCancel") << u"btnCancel"_s << u"&Cancel"_s << QRect(3000, 1560, 1215, 375);
    QTest::newRow("btnCancelAll") << u"btnCancelAll"_s << u"Cancel A&ll"_s << QRect(4440, 1560, 1215, 375);
}

void dlgKivoTest::controlsAndTabOrder()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QRect, twips);

    dlgKivo dialog;
    gDialog = &dialog;
    auto *found = dialog.findChild<QWidget *>(name);
    QVERIFY(found != nullptr);
    QCOMPARE(found->geometry(),
             QRect(twips.x() / 15, twips.y() / 15, twips.width() / 15, twips.height() / 15));
    if (auto *pushButton = qobject_cast<QPushButton *>(found))
        QCOMPARE(pushButton->text(), caption);
    QCOMPARE(dialog.size(), QSize(5790 / 15, 2130 / 15));
    QCOMPARE(dialog.palette().color(QPalette::Window), QColor(0xE0, 0xE0, 0xE0));
    QVERIFY(dialog.autoFillBackground());

    // The Tab key walks the answer and the four buttons in their order, then wraps.
    dialog.showAll(true);
    QStringList walked;
    const auto seen = answerNextQuestion([&walked](QDialog &d) {
        for (int i = 0; i < 5; ++i) {
            press(Qt::Key_Tab);
            walked.append(QApplication::focusWidget()->objectName());
        }
        perform(d, Act::Cancel);
    });
    askText(u"New List"_s, u"Live"_s, u"Enter a name"_s);
    QVERIFY(seen->shown);
    QCOMPARE(walked, (QStringList{u"btnOkAll"_s, u"btnOk"_s, u"btnCancel"_s, u"btnCancelAll"_s, u"txtText"_s}));
}

void dlgKivoTest::outlivesTheWindowThatOwnedIt()
{
    // On the heap, so that a dialog taken down with its owner shows as a failure.
    QPointer<dlgKivo> dialog(new dlgKivo);
    gDialog = dialog.data();
    {
        ActiveWindow transient;
        QVERIFY(transient.isActive());
        const auto seen = answerNextQuestion(typeThen(u"Lead"_s, Act::OkAll));
        askText(u"Adding Sound Image"_s, u"Bass"_s, u"Enter name for file: "_s);
        QCOMPARE(seen->owner, transient.widget());
    }

    QVERIFY(!dialog.isNull());
    QCOMPARE(gDialog, dialog.data());
    QCOMPARE(dialog->strRetVal(), u"Lead"_s);
    QCOMPARE(dialog->strAll(), OkAll.toString());
    delete dialog.data();
}

void dlgKivoTest::factoryGivesTheOneDialog()
{
    dlgKivo &first = getDialog();
    QCOMPARE(&getDialog(), &first);
    QVERIFY(!first.isVisible());
    QCOMPARE(first.strRetVal(), QString());
    QCOMPARE(first.strAll(), QString());
    delete &first;
}

QTEST_MAIN(dlgKivoTest)
#include "dlgKivoTest.moc"
