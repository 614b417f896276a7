#pragma once

#include <QWidget>

#include <functional>

namespace kivo::test {

// Runs an action on the application's modal widget as soon as one is active, from
// inside its event loop. Polls with a timer; gives up once the deadline passes.
void whenModalActive(std::function<void(QWidget &)> action, int deadlineMs = 5000);

// The top-level widgets that are still visible; a test's cleanup checks none leaked.
QWidgetList visibleTopLevels();

} // namespace kivo::test
