#include "QtModalSeam.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>

#include <span>
#include <utility>
#include <vector>

namespace kivo {

namespace {

struct Choice {
    QStringView caption;
    Answer answer;
};

// Each button set in the platform's order, with its captions and access keys; the
// first button is the default button.
std::span<const Choice> choices(Buttons buttons)
{
    static constexpr Choice ok[]{{u"OK", Answer::Ok}};
    static constexpr Choice abortRetryIgnore[]{
        {u"&Abort", Answer::Abort}, {u"&Retry", Answer::Retry}, {u"&Ignore", Answer::Ignore}};
    static constexpr Choice yesNoCancel[]{{u"&Yes", Answer::Yes}, {u"&No", Answer::No}, {u"Cancel", Answer::Cancel}};
    static constexpr Choice yesNo[]{{u"&Yes", Answer::Yes}, {u"&No", Answer::No}};
    switch (buttons) {
    case Buttons::Ok:
        return ok;
    case Buttons::AbortRetryIgnore:
        return abortRetryIgnore;
    case Buttons::YesNoCancel:
        return yesNoCancel;
    case Buttons::YesNo:
        return yesNo;
    }
    return ok;
}

// Escape and the close button answer like the platform: Cancel where the set has it,
// else the only safe choice of the set.
Answer escapeAnswer(Buttons buttons)
{
    switch (buttons) {
    case Buttons::Ok:
        return Answer::Ok;
    case Buttons::AbortRetryIgnore:
        return Answer::Abort;
    case Buttons::YesNoCancel:
        return Answer::Cancel;
    case Buttons::YesNo:
        return Answer::No;
    }
    return Answer::Cancel;
}

QMessageBox::Icon messageIcon(Icon icon)
{
    switch (icon) {
    case Icon::None:
        return QMessageBox::NoIcon;
    case Icon::Critical:
        return QMessageBox::Critical;
    case Icon::Question:
        return QMessageBox::Question;
    case Icon::Exclamation:
        return QMessageBox::Warning;
    case Icon::Information:
        return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}

// What a title bar needs for the title: its text, which window managers commonly
// draw bold, and beside it the window's icon, its buttons and their spacing.
int titleBarWidth(const QWidget &box)
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::TitleFont);
    font.setBold(true);
    constexpr int iconAndButtons = 4;
    const int button = box.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &box);
    return QFontMetrics(font).horizontalAdvance(box.windowTitle()) + iconAndButtons * button;
}

// The box grows to its title's width through its row of buttons, the one part of
// its layout that spans the whole box, since it sizes itself anew when it is shown.
void fitTitle(QMessageBox &box)
{
    auto *buttonRow = box.findChild<QDialogButtonBox *>();
    if (buttonRow == nullptr)
        return;
    const QMargins margins = box.layout()->contentsMargins();
    buttonRow->setMinimumWidth(titleBarWidth(box) - margins.left() - margins.right());
}

} // namespace

Answer QtModalSeam::messageBox(const MessageRequest &request)
{
    QMessageBox box(messageIcon(request.icon), request.title.isEmpty() ? programTitle() : request.title,
                    request.text, QMessageBox::NoButton);
    // The texts carry names, paths and failure descriptions, which must show as they are, never as markup.
    box.setTextFormat(Qt::PlainText);
    // Buttons of one role keep the order in which they are added, whatever the
    // desktop's button layout would make of the roles of standard buttons.
    const Answer onEscape = escapeAnswer(request.buttons);
    std::vector<std::pair<QPushButton *, Answer>> buttons;
    for (const Choice &choice : choices(request.buttons)) {
        QPushButton *button = box.addButton(choice.caption.toString(), QMessageBox::ActionRole);
        buttons.emplace_back(button, choice.answer);
        if (choice.answer == onEscape)
            box.setEscapeButton(button);
    }
    box.setDefaultButton(buttons.front().first);
    fitTitle(box);
    box.exec();
    for (const auto &[button, answer] : buttons) {
        if (box.clickedButton() == button)
            return answer;
    }
    return onEscape;
}

int QtModalSeam::execDialog(QDialog &dialog)
{
    return dialog.exec();
}

} // namespace kivo
