#include "Factory.h"

#include "Library.h"
#include "LoadLists.h"

#include <memory>

namespace kivo {

ModelPtr newModel(qint32 lngTag, const QString &strName, const QString &strPath, const QByteArray &pathBytes)
{
    auto model = std::make_shared<Model>();
    model->init(lngTag, strName, strPath, pathBytes);
    return model;
}

LoadListPtr newLoadList(QString &strName)
{
    auto list = std::make_shared<LoadList>();
    list->init(strName);
    return list;
}

FileShellPtr newFileShell(const QString &fileName, int mode)
{
    auto shell = std::make_unique<FileShell>();
    shell->init(fileName, mode);
    return shell;
}

Library &getLibrary()
{
    static Library library;
    return library;
}

LoadLists &getLoadLists()
{
    static LoadLists loadLists;
    return loadLists;
}

} // namespace kivo
