#include "Model.h"

namespace kivo {

void Model::init(qint32 lngTag, const QString &strName, const QString &strPath)
{
    m_tag = lngTag;
    m_name = strName;
    m_path = strPath;
}

} // namespace kivo
