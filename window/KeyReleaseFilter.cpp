#include "KeyReleaseFilter.h"

#include "platform/KeyRepeats.h"

#include <QKeyEvent>
#include <QWidget>

#include <utility>

namespace kivo {

KeyReleaseFilter::KeyReleaseFilter(QObject *parent)
    : QObject(parent)
    // Long enough for the press that follows a repeated release, short enough to go
    // unnoticed after a single press.
    , m_releaseWait(repeatedPressLag)
{
    connect(&m_releaseWait, &Timer::timeout, this, &KeyReleaseFilter::releasedKeyUp);
}

void KeyReleaseFilter::watch(QWidget &list)
{
    list.installEventFilter(this);
}

void KeyReleaseFilter::cancel()
{
    m_releaseWait.stop();
    m_released.reset();
}

bool KeyReleaseFilter::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)
        keyEvent(static_cast<QWidget *>(watched), *static_cast<QKeyEvent *>(event));
    return QObject::eventFilter(watched, event);
}

void KeyReleaseFilter::keyEvent(QWidget *list, const QKeyEvent &key)
{
    const bool removes = key.key() == Qt::Key_Delete || key.key() == Qt::Key_Backspace;
    const bool sameKey = m_released && m_released->list == list && m_released->key == key.key();
    if (key.type() == QEvent::KeyPress) {
        if (sameKey)
            cancel();
        return;
    }
    if (removes) {
        // Another key let go first keeps its command.
        if (m_released && !sameKey)
            releasedKeyUp();
        m_released = ReleasedKey{list, key.key()};
        m_releaseWait.start();
    } else if (!key.isAutoRepeat()) {
        Q_EMIT KeyUp(list, key.key());
    }
}

void KeyReleaseFilter::releasedKeyUp()
{
    m_releaseWait.stop();
    if (const std::optional<ReleasedKey> released = std::exchange(m_released, std::nullopt))
        Q_EMIT KeyUp(released->list, released->key);
}

} // namespace kivo
