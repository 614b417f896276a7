#pragma once

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

} // namespace kivo::test
