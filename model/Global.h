#pragma once

#include <QChar>
#include <QString>

// Name rules for load lists and the small path helpers that the rest of the
// program uses. Paths split at the platform's separator (also at '/' on Windows).
namespace kivo {

// Removes leading and trailing blanks (U+0020 only); other white space is kept.
QString trimBlanks(const QString &s);

// Trims blanks (U+0020 only) in the caller's variable, then judges the load-list name.
// A name is also its file's name in the data folder, so its file name must fit.
bool isValidName(QString &strName);
// The extension of the library file and of each load list file in the data folder.
QString dataFileExtension();
// The base name of the library file in the data folder, which no load list may take.
QString libraryFileBaseName();
// The longest file name, in the units of fileNameLength, that the file system of the
// folder takes: its own limit, or 255 when it names none (255 on Windows).
qsizetype maxFileNameLength(const QString &folder);
// The length of a file name (no folder) as the file system counts it: UTF-16 units on
// Windows, the bytes of the name as the file system stores it elsewhere, where a
// character outside ASCII takes two to four.
qsizetype fileNameLength(const QString &fileName);
// True when the file system of the folder can take a file of this name.
bool fitsFileName(const QString &fileName, const QString &folder);
// True when a file of this name in the folder can also be written again once it
// exists: the safe save writes the new content beside it first, under a longer name.
bool fitsSavedFileName(const QString &fileName, const QString &folder);
// The longest load-list name, in the units of fileNameLength, whose file in the data
// folder can be saved again once it exists.
qsizetype maxSavableNameLength();
// True when the file of a load list of this name can be saved again once it exists.
// isValidName takes longer names, as lists of earlier versions may have them.
bool isSavableName(const QString &strName);
bool isAlphaNumeric(const QString &str);

QString getFileName(const QString &s);
// Throws RuntimeError(InvalidArgument) when no dot follows the last separator.
QString getBaseName(const QString &s);
// The name proposed for a sound image file: its base name, or its whole file name
// when no dot follows the last separator. Never fails.
QString getProposedName(const QString &s);
// Throw RuntimeError(InvalidArgument) when the text they must look at is empty.
QString stripQuotes(const QString &s);
QString stripTrailingSlash(const QString &s);

QChar pathSeparator();
bool isPathSeparator(QChar c);
// Position (0-based) of the last path separator, -1 when there is none.
qsizetype lastSeparatorIndex(const QString &s);

// The data folder, ending with the separator; set once at start-up.
const QString &dataPath();
void setDataPath(const QString &path);

// The install folder, as the installation recorded it (ending with the separator);
// set once at start-up.
const QString &appPath();
void setAppPath(const QString &path);

} // namespace kivo
