#pragma once

#include "IPersistToFile.h"

#include <QList>
#include <QString>
#include <QStringView>

#include <optional>

// Reading and writing the files of the data folder and of export packages. Every
// operation opens, reads or writes a whole file at once and closes it.
namespace kivo {

class LoadLists;

// Deletes the load list file of that name when there is one; a file that cannot be
// deleted stays. A file holding lines that its reading passed over is kept aside first
// (UnreadLines.h); when that fails, the file stays.
void deleteLoadListFile(const QString &strName);
// True when both names lead to one existing file, as names that differ only in case
// do on a file system that ignores case.
bool isSameLoadListFile(const QString &strName1, const QString &strName2);

enum class FolderState { Existing, Created, Missing };
// Creates the folder when it does not exist; its parent must exist.
FolderState ensureFolder(const QString &strPath);

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
// An entry of an export file that an import cannot take.
struct PackageFault {
    enum class Kind {
        Outside, // the entry's file would lie outside the export file's folder
        Missing, // no such file is in that folder
    };
    Kind kind;
    QString file; // the entry's file field
};
// The first entry of the export file that names no file of its package; nullopt when
// every entry does (or the file cannot be read, which the reading itself reports).
std::optional<PackageFault> packageFault(const QString &strFile);
// A line of an export file that an import passes over.
struct PassedOverLine {
    qsizetype number; // counted from 1
    QString name;     // the name of its entry; empty when the line is no entry
    QString reason;
};
// What an import of the export file takes: the number of entries, and the lines other
// than empty ones that it passes over, with the reason, in file order. A file that
// cannot be read gives nothing: the import's own reading reports it.
struct ExportFileLines {
    int entries = 0;
    QList<PassedOverLine> passedOver;
};
ExportFileLines exportFileLines(const QString &strFile);
// The lines of a data file's text: CR LF ends a line, and so does a CR or LF alone,
// as other tools leave them.
QList<QStringView> splitLines(QStringView text);
// Replaces the file's content by the text and one more CR LF; true on failure, and
// then the file that was there before is left whole. A file holding lines that its
// reading passed over is kept aside first; when that fails, so does the write.
[[nodiscard]] bool writeFile(const QString &strText, const QString &strFile);
// Why the last writeFile that failed since forgetWriteFailure did, in the system's
// words (a full disk, say, or a folder of the file's name); empty when none failed, or
// when the data folder is gone or takes no file, which the opening has told the user.
QString lastWriteFailure();
void forgetWriteFailure();
// The first chars characters of the file, or all of it when chars is below 1; the
// empty text when it cannot be read.
QString readFile(const QString &strFile, int chars);

// Writes an export package into the folder strDest (ending with the separator): a copy
// of every existing sound image file of obj, in place of an older copy of that name,
// and the export file named strExportFile. Every file is written beside its place and
// takes it only once all are written, so that a failure leaves the package as it was;
// the files new to it are removed again then, and the folder too when folderIsNew says
// that it was made for this package. True on failure.
[[nodiscard]] bool writePackage(const IPersistToFile &obj, const QString &strDest, const QString &strExportFile, bool folderIsNew);
// Writes the export file: the entries whose sound image file exists, by file name.
[[nodiscard]] bool writeExportFile(const IPersistToFile &obj, const QString &strFile);
// Deletes the folder with everything in it; removes one trailing separator from the
// caller's variable first.
void removeFolder(QString &strPath);

// The file that names every load list.
[[nodiscard]] bool saveListOfLoadLists(const LoadLists &lists);
// Adds an empty load list for every name of that file that has a load list file. A
// name that the name rules refuse, or one already taken, is noted as passed over.
void loadListOfLoadLists(LoadLists &lists);

} // namespace kivo
