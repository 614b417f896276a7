#pragma once

#include <QColor>
#include <QPalette>
#include <QRect>
#include <QString>
#include <QWidget>

// The forms are laid out in twips, 15 to the pixel, on the light-grey background
// that all of the program's dialogs share.
namespace kivo {

inline QRect twips(int left, int top, int width, int height)
{
    constexpr int perPixel = 15;
    return {left / perPixel, top / perPixel, width / perPixel, height / perPixel};
}

// Creates a named control of the form at its place.
template <typename Control>
Control *place(QWidget *parent, const QString &name, const QRect &geometry)
{
    auto *control = new Control(parent);
    control->setObjectName(name);
    control->setGeometry(geometry);
    return control;
}

inline void paintFormBackground(QWidget &form)
{
    QPalette background = form.palette();
    background.setColor(QPalette::Window, QColor(0xE0, 0xE0, 0xE0));
    form.setPalette(background);
    form.setAutoFillBackground(true);
}

} // namespace kivo
