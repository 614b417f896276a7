#pragma once

#include "IPersistToFile.h"
#include "Model.h"

#include <QList>
#include <QString>
#include <QStringView>

#include <optional>

// The export package: a folder that holds a copy of every sound image file of a load
// list and the export file, whose entries name those copies by file name alone.
namespace kivo {

enum class FolderState { Existing, Created, Missing };
// Creates the folder when it does not exist; its parent must exist.
FolderState ensureFolder(const QString &strPath);

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
// A sound image of a package must lie inside the package's folder: a name that climbs
// out of it, an absolute path, or a link that leads elsewhere would let a later export
// copy files from anywhere. file is the entry's file field, record what it names.
bool staysInPackage(const QString &folder, QStringView file, const Model &record);

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

} // namespace kivo
