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
// True when the file system can take a file of this name (no folder): 255 UTF-16
// units on Windows, 255 bytes of the name as the file system stores it elsewhere.
bool fitsFileName(const QString &fileName);
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
