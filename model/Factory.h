#pragma once

#include "LoadList.h"
#include "Model.h"

#include <QString>

namespace kivo {

// Creates the model's objects and calls their init.
ModelPtr newModel(qint32 lngTag, const QString &strName, const QString &strPath);
// The caller's variable is trimmed in place by the name rules; a name that fails
// gives a list with an empty name.
LoadListPtr newLoadList(QString &strName);

} // namespace kivo
