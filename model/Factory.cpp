#include "Factory.h"

#include <memory>

namespace kivo {

ModelPtr newModel(qint32 lngTag, const QString &strName, const QString &strPath)
{
    auto model = std::make_shared<Model>();
    model->init(lngTag, strName, strPath);
    return model;
}

LoadListPtr newLoadList(QString &strName)
{
    auto list = std::make_shared<LoadList>();
    list->init(strName);
    return list;
}

} // namespace kivo
