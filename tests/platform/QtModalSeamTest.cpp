#include "platform/QtModalSeam.h"

#include "FormControls.h"
#include "ModalAnswerer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QMessageBox>
#include <QPointer>
#include <QProxyStyle>
#include <QPushButton>
#include <QStyleFactory>
#include <QTest>

#include <algorithm>

using namespace kivo;

Q_DECLARE_METATYPE(kivo::Buttons)
Q_DECLARE_METATYPE(kivo::Answer)
Q_DECLARE_METATYPE(QDialogButtonBox::ButtonLayout)

namespace {

// A style whose desktop lays out the buttons of dialogs its own way.
class ButtonLayoutStyle final : public QProxyStyle {
public:
    explicit ButtonLayoutStyle(QDialogButtonBox::ButtonLayout layout)
        : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion")))
        , m_layout(layout)
    {
    }

    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returnData) const override
    {
        if (hint == SH_DialogButtonLayout)
            return m_layout;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }

private:
    QDialogButtonBox::ButtonLayout m_layout;
};

// The box's buttons from left to right.
QList<QAbstractButton *> buttonsInOrder(QMessageBox &box)
{
    QList<QAbstractButton *> buttons = box.buttons();
    std::sort(buttons.begin(), buttons.end(), [&box](const QAbstractButton *a, const QAbstractButton *b) {
        return a->mapTo(&box, QPoint(0, 0)).x() < b->mapTo(&box, QPoint(0, 0)).x();
    });
    return buttons;
}

QAbstractButton &buttonCaptioned(QMessageBox &box, const QString &caption)
{
    for (QAbstractButton *button : box.buttons()) {
        if (button->text() == caption)
            return *button;
    }
    qFatal("the box has no button %s", qPrintable(caption));
}

} // namespace

class QtModalSeamTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup();
    void buttonSetsAsThePlatformShowsThem_data();
    void buttonSetsAsThePlatformShowsThem();
    void answerCodes_data();
    void answerCodes();
    void accessKeysAnswer_data();
    void accessKeysAnswer();
    void escapeAnswersLikeClosing_data();
    void escapeAnswersLikeClosing();
    void enterAnswersTheFirstButton_data();
    void enterAnswersTheFirstButton();
    void titleAndIcon();
    void textShownAsGiven_data();
    void textShownAsGiven();
    void wideEnoughForItsTitle_data();
    void wideEnoughForItsTitle();
    void execDialog();
};

void QtModalSeamTest::cleanup()
{
    QTRY_VERIFY(test::visibleTopLevels().isEmpty());
}

void QtModalSeamTest::buttonSetsAsThePlatformShowsThem_data()
{
    QTest::addColumn<QDialogButtonBox::ButtonLayout>("layout");
    QTest::addColumn<Buttons>("buttons");
    QTest::addColumn<QStringList>("captions"); // from left to right, the first the default

    const QList<std::pair<const char *, QDialogButtonBox::ButtonLayout>> layouts{
        {"windows", QDialogButtonBox::WinLayout},     {"mac", QDialogButtonBox::MacLayout},
        {"kde", QDialogButtonBox::KdeLayout},         {"gnome", QDialogButtonBox::GnomeLayout},
        {"android", QDialogButtonBox::AndroidLayout},
    };
    for (const auto &[name, layout] : layouts) {
        QTest::addRow("%s: ok", name) << layout << Buttons::Ok << QStringList{QStringLiteral("OK")};
        QTest::addRow("%s: abort retry ignore", name)
            << layout << Buttons::AbortRetryIgnore
            << QStringList{QStringLiteral("&Abort"), QStringLiteral("&Retry"), QStringLiteral("&Ignore")};
        QTest::addRow("%s: yes no cancel", name)
            << layout << Buttons::YesNoCancel
            << QStringList{QStringLiteral("&Yes"), QStringLiteral("&No"), QStringLiteral("Cancel")};
        QTest::addRow("%s: yes no", name) << layout << Buttons::YesNo
                                          << QStringList{QStringLiteral("&Yes"), QStringLiteral("&No")};
    }
}

void QtModalSeamTest::buttonSetsAsThePlatformShowsThem()
{
    QFETCH(QDialogButtonBox::ButtonLayout, layout);
    QFETCH(Buttons, buttons);
    QFETCH(QStringList, captions);

    QApplication::setStyle(new ButtonLayoutStyle(layout));
    QStringList shown;
    QString defaultButton;
    test::whenModalActive([&](QWidget &modal) {
        auto &box = dynamic_cast<QMessageBox &>(modal);
        for (QAbstractButton *button : buttonsInOrder(box))
            shown.append(button->text());
        defaultButton = box.defaultButton() != nullptr ? box.defaultButton()->text() : QString();
        box.buttons().constFirst()->click();
    });
    QtModalSeam seam;
    seam.messageBox({QStringLiteral("Question?"), buttons, Icon::None, {}});
    QApplication::setStyle(QStringLiteral("Fusion"));

    QCOMPARE(shown, captions);
    QCOMPARE(defaultButton, captions.constFirst());
}

void QtModalSeamTest::answerCodes_data()
{
    QTest::addColumn<Buttons>("buttons");
    QTest::addColumn<QString>("click");
    QTest::addColumn<Answer>("answer");

    QTest::newRow("ok") << Buttons::Ok << QStringLiteral("OK") << Answer::Ok;
    QTest::newRow("abort") << Buttons::AbortRetryIgnore << QStringLiteral("&Abort") << Answer::Abort;
    QTest::newRow("retry") << Buttons::AbortRetryIgnore << QStringLiteral("&Retry") << Answer::Retry;
    QTest::newRow("ignore") << Buttons::AbortRetryIgnore << QStringLiteral("&Ignore") << Answer::Ignore;
    QTest::newRow("yes of three") << Buttons::YesNoCancel << QStringLiteral("&Yes") << Answer::Yes;
    QTest::newRow("no of three") << Buttons::YesNoCancel << QStringLiteral("&No") << Answer::No;
    QTest::newRow("cancel") << Buttons::YesNoCancel << QStringLiteral("Cancel") << Answer::Cancel;
    QTest::newRow("yes of two") << Buttons::YesNo << QStringLiteral("&Yes") << Answer::Yes;
    QTest::newRow("no of two") << Buttons::YesNo << QStringLiteral("&No") << Answer::No;
}

void QtModalSeamTest::answerCodes()
{
    QFETCH(Buttons, buttons);
    QFETCH(QString, click);
    QFETCH(Answer, answer);

    test::whenModalActive([&](QWidget &modal) {
        buttonCaptioned(dynamic_cast<QMessageBox &>(modal), click).click();
    });
    QtModalSeam seam;
    QCOMPARE(seam.messageBox({QStringLiteral("Question?"), buttons, Icon::None, {}}), answer);
}

void QtModalSeamTest::accessKeysAnswer_data()
{
    QTest::addColumn<Buttons>("buttons");
    QTest::addColumn<Qt::Key>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<Answer>("answer");

    const QList<std::pair<const char *, Qt::KeyboardModifiers>> ways{{"alt", Qt::AltModifier},
                                                                     {"letter alone", Qt::NoModifier}};
    for (const auto &[way, modifiers] : ways) {
        QTest::addRow("abort, %s", way) << Buttons::AbortRetryIgnore << Qt::Key_A << modifiers << Answer::Abort;
        QTest::addRow("retry, %s", way) << Buttons::AbortRetryIgnore << Qt::Key_R << modifiers << Answer::Retry;
        QTest::addRow("ignore, %s", way) << Buttons::AbortRetryIgnore << Qt::Key_I << modifiers << Answer::Ignore;
        QTest::addRow("yes of three, %s", way) << Buttons::YesNoCancel << Qt::Key_Y << modifiers << Answer::Yes;
        QTest::addRow("no of three, %s", way) << Buttons::YesNoCancel << Qt::Key_N << modifiers << Answer::No;
        QTest::addRow("yes of two, %s", way) << Buttons::YesNo << Qt::Key_Y << modifiers << Answer::Yes;
        QTest::addRow("no of two, %s", way) << Buttons::YesNo << Qt::Key_N << modifiers << Answer::No;
    }
}

void QtModalSeamTest::accessKeysAnswer()
{
    QFETCH(Buttons, buttons);
    QFETCH(Qt::Key, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(Answer, answer);

    bool answeredByKey = false;
    test::whenModalActive([&](QWidget &modal) {
        QPointer<QWidget> box(&modal);
        if (QTest::qWaitForWindowActive(&modal))
            QTest::keyClick(&modal, key, modifiers);
        answeredByKey = QTest::qWaitFor([&box] { return box.isNull() || !box->isVisible(); }, 1000);
        // A key that did not answer leaves the box to Escape, so that the test goes on.
        if (!answeredByKey)
            QTest::keyClick(box, Qt::Key_Escape);
    });
    QtModalSeam seam;
    const Answer given = seam.messageBox({QStringLiteral("Question?"), buttons, Icon::None, {}});
    QVERIFY(answeredByKey);
    QCOMPARE(given, answer);
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
        box.buttons().constFirst()->click();
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
        dynamic_cast<QMessageBox &>(modal).buttons().constFirst()->click();
    });
    QtModalSeam seam;
    seam.messageBox({text, Buttons::Ok, Icon::None, {}});
    QCOMPARE(shown, text);
}

void QtModalSeamTest::wideEnoughForItsTitle_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");
    QTest::addColumn<Buttons>("buttons");

    QTest::newRow("delete") << QStringLiteral("Delete Active List") << QStringLiteral("Delete Load List a?")
                            << Buttons::YesNo;
    QTest::newRow("insert") << QStringLiteral("Cannot Insert Load List") << QStringLiteral("Load List: a already exist!")
                            << Buttons::Ok;
    QTest::newRow("long title, short text")
        << QStringLiteral("A title that is far longer than the text of its box") << QStringLiteral("Done")
        << Buttons::Ok;
}

void QtModalSeamTest::wideEnoughForItsTitle()
{
    QFETCH(QString, title);
    QFETCH(QString, text);
    QFETCH(Buttons, buttons);

    int width = 0;
    int titleBarHeight = 0;
    test::whenModalActive([&](QWidget &modal) {
        width = modal.width();
        titleBarHeight = modal.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &modal);
        QTest::keyClick(&modal, Qt::Key_Return);
    });
    QtModalSeam seam;
    seam.messageBox({text, buttons, Icon::None, title});

    // A title bar draws its title, commonly in bold, beside the window's icon and
    // at least a close button.
    QFont titleFont = QFontDatabase::systemFont(QFontDatabase::TitleFont);
    titleFont.setBold(true);
    const int titleWidth = QFontMetrics(titleFont).horizontalAdvance(title);
    QVERIFY2(width >= titleWidth + 2 * titleBarHeight,
             qPrintable(QStringLiteral("%1 px wide for a title of %2 px").arg(width).arg(titleWidth)));
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
