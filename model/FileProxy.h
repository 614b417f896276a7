#pragma once

#include "ExportPackage.h"
#include "IPersistToFile.h"
#include "SafeWrite.h"

#include <QList>
#include <QString>
#include <QStringView>

// Reading and writing the files of the data folder, and (through the headers above)
// of export packages. Every operation opens, reads or writes a whole file at once and
// closes it. The list-of-load-lists file is read and written with the load lists
// (LoadLists.h).
namespace kivo {

// Deletes the load list file of that name when there is one; a file that cannot be
// deleted stays. A file holding lines that its reading passed over is kept aside first
// (UnreadLines.h); when that fails, the file stays.
void deleteLoadListFile(const QString &strName);
// True when both names lead to one existing file, as names that differ only in case
// do on a file system that ignores case.
bool isSameLoadListFile(const QString &strName1, const QString &strName2);

// Writes the unit's entries to its data file, named after strName when it is not
// empty; true on failure.
[[nodiscard]] bool saveToFile(const IPersistToFile &obj, const QString &strName);
// True when saveToFile(obj, {}) would change what the unit's data file holds: the
// file is missing or holds other lines than the unit would write now. Line ends and
// empty lines at the end do not count, as reading takes every kind alike; nor do lines
// that the reading passed over, while the unit holds what it held after the reading.
bool differsFromFile(const IPersistToFile &obj);
// True when no ordinary (regular, not hidden) file is there.
bool fileNotExist(const QString &strFile);
// True when the record's file is no ordinary file.
bool fileNotExist(const Model &record);
// Adds the entries of a file to obj: its own data file when strFile is empty (a
// missing library file is no error), else an export file, whose file names are taken
// relative to the folder that holds it; an entry whose file would lie outside that
// folder is left out, and so is an entry for a location that an earlier entry of the
// export file took. Lines that give no record are passed over; for obj's own data
// file, that is noted so that the file is kept aside before it is next written.
void loadFromFile(IPersistToFile &obj, const QString &strFile);
// The lines of a data file's text: CR LF ends a line, and so does a CR or LF alone,
// as other tools leave them.
QList<QStringView> splitLines(QStringView text);
// The first chars characters of the file, or all of it when chars is below 1; the
// empty text when it cannot be read.
QString readFile(const QString &strFile, int chars);

} // namespace kivo
