#include "commands/ApiGlobal.h"
#include "commands/frmTip.h"

#include "FormControls.h"
#include "ScriptedModalSeam.h"
#include "TemporarySettings.h"

#include <QApplication>
#include <QCheckBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <optional>

using namespace kivo;
using namespace Qt::StringLiterals;
using kivo::test::control;
using kivo::test::ScriptedModalSeam;
using kivo::test::TemporarySettings;

namespace {

enum class Act { OkTicked, OkUnticked, Cancel, CloseBox, Escape };

const QString showWarning = u"Show Warning"_s;
const QString refusedMessage =
    u"This dialog box will continue to show, because you have insufficient access to the registry"_s;

// What a person does with the reminder on the screen.
void answer(QDialog &dialog, Act act)
{
    auto &tick = control<QCheckBox>(dialog, u"chkLoadTipsAtStartup"_s);
    switch (act) {
    case Act::OkTicked:
        QTest::mouseClick(&tick, Qt::LeftButton, {}, QPoint(6, tick.height() / 2));
        QTest::mouseClick(&control<QPushButton>(dialog, u"cmdOK"_s), Qt::LeftButton);
        break;
    case Act::OkUnticked:
        QTest::mouseClick(&control<QPushButton>(dialog, u"cmdOK"_s), Qt::LeftButton);
        break;
    case Act::Cancel:
        QTest::mouseClick(&control<QPushButton>(dialog, u"btnCancel"_s), Qt::LeftButton);
        break;
    case Act::CloseBox:
        dialog.close();
        break;
    case Act::Escape:
        QTest::keyClick(&dialog, Qt::Key_Escape);
        break;
    }
}

} // namespace

Q_DECLARE_METATYPE(Act)

class frmTipTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void answers_data();
    void answers();
    void presentsTheWarning();
    void tickTurnsTheWarningOffForTheNextTransfer();
    void runsModallyOverTheMainWindow_data();
    void runsModallyOverTheMainWindow();

private:
    std::optional<TemporarySettings> m_settings;
};

void frmTipTest::initTestCase()
{
    m_settings.emplace();
    QVERIFY(m_settings->isValid());
}

void frmTipTest::init()
{
    m_settings->clear();
}

void frmTipTest::cleanup()
{
    QVERIFY2(QApplication::topLevelWidgets().isEmpty(), "a window outlived its test");
}

void frmTipTest::answers_data()
{
    QTest::addColumn<bool>("keyCreated");
    QTest::addColumn<QString>("before"); // null: no value stored
    QTest::addColumn<Act>("act");
    QTest::addColumn<bool>("shown");
    QTest::addColumn<bool>("go");
    QTest::addColumn<QVariant>("after");
    QTest::addColumn<QStringList>("messages");

    const QVariant nothing;
    const QStringList none;
    const auto text = [](const QString &s) { return QVariant(s); };
    QTest::newRow("turned off") << true << u"1"_s << Act::Cancel << false << true << text(u"1"_s) << none;
    QTest::newRow("no value, OK ticked") << true << QString() << Act::OkTicked << true << true << text(u"1"_s)
                                         << none;
    QTest::newRow("0, OK unticked") << true << u"0"_s << Act::OkUnticked << true << true << text(u"0"_s)
                                    << none;
    QTest::newRow("0, OK ticked") << true << u"0"_s << Act::OkTicked << true << true << text(u"1"_s) << none;
    QTest::newRow("other text, OK unticked")
        << true << u"yes"_s << Act::OkUnticked << true << true << text(u"0"_s) << none;
    QTest::newRow("text NONE, Cancel") << true << u"NONE"_s << Act::Cancel << true << false
                                       << text(u"NONE"_s) << none;
    QTest::newRow("0, ticked, Cancel") << true << u"0"_s << Act::Cancel << true << false << text(u"0"_s)
                                       << none;
    QTest::newRow("no value, close box") << true << QString() << Act::CloseBox << true << false << nothing
                                         << none;
    QTest::newRow("0, Escape") << true << u"0"_s << Act::Escape << true << false << text(u"0"_s) << none;
    QTest::newRow("no key, OK ticked") << false << QString() << Act::OkTicked << true << true << nothing
                                       << QStringList{refusedMessage};
    QTest::newRow("no key, OK unticked") << false << QString() << Act::OkUnticked << true << true << nothing
                                         << none;
    QTest::newRow("no key, Cancel") << false << QString() << Act::Cancel << true << false << nothing << none;
}

void frmTipTest::answers()
{
    QFETCH(bool, keyCreated);
    QFETCH(QString, before);
    QFETCH(Act, act);
    QFETCH(bool, shown);
    QFETCH(bool, go);
    QFETCH(QVariant, after);
    QFETCH(QStringList, messages);

    if (keyCreated)
        createRegistryKey(RootKey::HKEY_CURRENT_USER);
    if (!before.isNull())
        TemporarySettings::store(m_settings->userFile(), showWarning, before);
    ScriptedModalSeam seam;
    seam.onNextDialog([act](QDialog &dialog) {
        dialog.show();
        answer(dialog, act);
        return dialog.result();
    });
    QWidget mainForm;
    frmTip tip;
    tip.setMainForm(&mainForm);

    tip.showTip();

    QCOMPARE(seam.dialogsShown(), shown ? 1 : 0);
    QCOMPARE(tip.blnGo(), go);
    QVERIFY(!tip.isVisible());
    QCOMPARE(TemporarySettings::stored(m_settings->userFile(), showWarning), after);
    QCOMPARE(seam.messageTexts(), messages);
    QCOMPARE(seam.unexpected(), 0);
}

void frmTipTest::presentsTheWarning()
{
    createRegistryKey(RootKey::HKEY_CURRENT_USER);
    ScriptedModalSeam seam;
    QString title, warning, tickText;
    bool ticked = true;
    seam.onNextDialog([&](QDialog &dialog) {
        title = dialog.windowTitle();
        warning = control<QPlainTextEdit>(dialog, u"txtMessage"_s).toPlainText();
        tickText = control<QCheckBox>(dialog, u"chkLoadTipsAtStartup"_s).text();
        ticked = control<QCheckBox>(dialog, u"chkLoadTipsAtStartup"_s).isChecked();
        return int(QDialog::Rejected);
    });
    frmTip tip;

    tip.showTip();

    QCOMPARE(title, u"Reminder"_s);
    QCOMPARE(warning, u"The Sound Images that you have selected to burn onto your Kivo will effectively "
                      "replace your existing Sound Images within the respective locations. This will "
                      "accordingly alter the \"sound\" of your already programmed presets."_s);
    QCOMPARE(tickText, u"&Don't show me this again."_s);
    QVERIFY(!ticked);
}

void frmTipTest::tickTurnsTheWarningOffForTheNextTransfer()
{
    createRegistryKey(RootKey::HKEY_CURRENT_USER);
    ScriptedModalSeam seam;
    seam.onNextDialog([](QDialog &dialog) {
        dialog.show();
        answer(dialog, Act::OkTicked);
        return dialog.result();
    });
    {
        frmTip first;
        first.showTip();
        QVERIFY(first.blnGo());
    }

    frmTip next;
    next.showTip();

    QCOMPARE(seam.dialogsShown(), 1);
    QVERIFY(next.blnGo());
}

void frmTipTest::runsModallyOverTheMainWindow_data()
{
    QTest::addColumn<Act>("act");
    QTest::addColumn<bool>("go");
    QTest::addColumn<QVariant>("after");

    QTest::newRow("OK ticked") << Act::OkTicked << true << QVariant(u"1"_s);
    QTest::newRow("Cancel") << Act::Cancel << false << QVariant();
    QTest::newRow("close box") << Act::CloseBox << false << QVariant();
}

void frmTipTest::runsModallyOverTheMainWindow()
{
    QFETCH(Act, act);
    QFETCH(bool, go);
    QFETCH(QVariant, after);

    createRegistryKey(RootKey::HKEY_CURRENT_USER);
    QWidget mainForm;
    mainForm.show();
    frmTip tip;
    tip.setMainForm(&mainForm);
    QWidget *modal = nullptr;
    QWidget *owner = nullptr;
    QTimer poll;
    poll.setInterval(5);
    connect(&poll, &QTimer::timeout, this, [&] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (dialog == nullptr)
            return;
        poll.stop();
        modal = dialog;
        owner = dialog->parentWidget();
        answer(*dialog, act);
    });
    poll.start();

    tip.showTip();

    QCOMPARE(modal, &tip);
    QCOMPARE(owner, &mainForm);
    QCOMPARE(tip.blnGo(), go);
    QVERIFY(!tip.isVisible());
    QCOMPARE(TemporarySettings::stored(m_settings->userFile(), showWarning), after);
}

QTEST_MAIN(frmTipTest)
#include "frmTipTest.moc"
