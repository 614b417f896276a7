#include "QtModalSeam.h"

#include <QDialog>
#include <QMessageBox>

namespace kivo {

namespace {

QMessageBox::StandardButtons standardButtons(Buttons buttons)
{
    switch (buttons) {
    case Buttons::Ok:
        return QMessageBox::Ok;
    case Buttons::AbortRetryIgnore:
        return QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
    case Buttons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case Buttons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    }
    return QMessageBox::Ok;
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

// The platform's boxes make the first button of the set the default button.
QMessageBox::StandardButton firstButton(Buttons buttons)
{
    switch (buttons) {
    case Buttons::Ok:
        return QMessageBox::Ok;
    case Buttons::AbortRetryIgnore:
        return QMessageBox::Abort;
    case Buttons::YesNoCancel:
    case Buttons::YesNo:
        return QMessageBox::Yes;
    }
    return QMessageBox::Ok;
}

// Closing a box with its close button answers like the platform: Cancel where the
// set has it, else the only safe choice of the set.
Answer answerFor(QMessageBox::StandardButton button, Buttons buttons)
{
    switch (button) {
    case QMessageBox::Ok:
        return Answer::Ok;
    case QMessageBox::Cancel:
        return Answer::Cancel;
    case QMessageBox::Abort:
        return Answer::Abort;
    case QMessageBox::Retry:
        return Answer::Retry;
    case QMessageBox::Ignore:
        return Answer::Ignore;
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        break;
    }
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

} // namespace

Answer QtModalSeam::messageBox(const MessageRequest &request)
{
    QMessageBox box(messageIcon(request.icon), request.title.isEmpty() ? programTitle() : request.title,
                    request.text, standardButtons(request.buttons));
    // The texts carry names, paths and failure descriptions, which must show as they are, never as markup.
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(firstButton(request.buttons));
    if (request.buttons == Buttons::YesNoCancel)
        box.setEscapeButton(QMessageBox::Cancel);
    const auto clicked = static_cast<QMessageBox::StandardButton>(box.exec());
    return answerFor(clicked, request.buttons);
}

int QtModalSeam::execDialog(QDialog &dialog)
{
    return dialog.exec();
}

} // namespace kivo
