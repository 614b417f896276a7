#pragma once

#include <QAccessible>
#include <QLabel>
#include <QString>
#include <QWidget>
#include <QtGlobal>

namespace kivo::test {

// A form's control by its name; a test cannot go on without it.
template <typename Control>
Control &control(QWidget &form, const QString &name)
{
    auto *found = form.findChild<Control *>(name);
    if (found == nullptr)
        qFatal("the form has no control %s", qPrintable(name));
    return *found;
}

// The text as a label shows it, as a screen reader reads it out: a label that took its
// text for markup shows the markup rendered, not the text.
inline QString shownText(QLabel &label)
{
    QAccessibleInterface *shown = QAccessible::queryAccessibleInterface(&label);
    if (shown == nullptr)
        qFatal("the label %s cannot be read out", qPrintable(label.objectName()));
    return shown->text(QAccessible::Name);
}

} // namespace kivo::test
