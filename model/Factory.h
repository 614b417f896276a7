#pragma once

#include "FileShell.h"
#include "LoadList.h"
#include "Model.h"

#include <QString>

namespace kivo {

class Library;
class LoadLists;

// Creates the model's objects and calls their init.
ModelPtr newModel(qint32 lngTag, const QString &strName, const QString &strPath, const QByteArray &pathBytes = {});
// The caller's variable is trimmed in place by the name rules; a name that fails
// gives a list with an empty name.
LoadListPtr newLoadList(QString &strName);
// Opens the file in the mode; a file that cannot be opened has been reported and
// leaves the shell without an open file.
FileShellPtr newFileShell(const QString &fileName, int mode = FileShell::ReadText);

// The program's one library and one set of load lists, created on first use. Model
// code takes them as arguments instead.
Library &getLibrary();
LoadLists &getLoadLists();

} // namespace kivo
