#pragma once

#include <QString>
#include <QStringList>

#include <memory>

class QMimeData;

// What the main window's drag and drop reads and writes: the drag data of library
// entries, the load-list row under the pointer and the files of a drop.
namespace kivo {

// The data of a drag that starts on the library: the row's text as UTF-16LE code
// units, low byte first, and nothing else, in the program's own drag format.
std::unique_ptr<QMimeData> modelDragData(const QString &strText);
// True when the data is in the program's own drag format, whatever it holds.
bool hasModelDragData(const QMimeData &data);

// The row of the load list under a pointer y pixels below the list's top edge: each
// of the 12 locations is one twelfth of the list's outer height, and the row changes
// half-way down a row (a half rounds to the even row). Below the middle of the last
// row this is 12, past the last row; -1 for a list without height.
int loadListRowAt(int y, int listHeight);

// The local files that a drop holds, full paths in the order the data gives them;
// none when the data holds no file list.
QStringList droppedFiles(const QMimeData &data);
bool hasFileList(const QMimeData &data);
// Only these are added to the library when dropped on it.
bool isSoundImageFile(const QString &path);

} // namespace kivo
