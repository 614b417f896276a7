#pragma once

#include <QPixmap>
#include <QString>

namespace kivo {

// One picture of the program's artwork by its name ("add_01", "splash", ...), at the
// pixel size it was drawn for; a null pixmap when there is no such picture.
QPixmap artwork(const QString &name);

} // namespace kivo
