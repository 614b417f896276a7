#include "setHourGlass.h"

#include <QCursor>
#include <QGuiApplication>

namespace kivo {

setHourGlass::~setHourGlass()
{
    restore();
}

void setHourGlass::setPointer(PointerShape newPointer)
{
    if (newPointer == PointerShape::Default) {
        restore();
        return;
    }
    const QCursor cursor(Qt::WaitCursor);
    if (m_overriding) {
        QGuiApplication::changeOverrideCursor(cursor);
        return;
    }
    QGuiApplication::setOverrideCursor(cursor);
    m_overriding = true;
}

void setHourGlass::restore()
{
    if (!m_overriding)
        return;
    QGuiApplication::restoreOverrideCursor();
    m_overriding = false;
}

} // namespace kivo
