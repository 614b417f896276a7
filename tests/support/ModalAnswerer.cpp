#include "ModalAnswerer.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QTimer>

#include <memory>

namespace kivo::test {

void whenModalActive(std::function<void(QWidget &)> action, int deadlineMs)
{
    auto timer = std::make_shared<QTimer>();
    const QDeadlineTimer deadline(deadlineMs);
    timer->setInterval(5);
    QObject::connect(timer.get(), &QTimer::timeout, qApp, [timer, action = std::move(action), deadline]() {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            timer->stop();
            action(*modal);
        } else if (deadline.hasExpired()) {
            timer->stop();
        }
    });
    timer->start();
}

QWidgetList visibleTopLevels()
{
    QWidgetList visible;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible())
            visible.append(widget);
    }
    return visible;
}

} // namespace kivo::test
