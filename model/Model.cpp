#include "Model.h"

#include <QFile>

namespace kivo {

void Model::init(qint32 lngTag, const QString &strName, const QString &strPath, const QByteArray &pathBytes)
{
    m_tag = lngTag;
    m_name = strName;
    m_path = strPath;
    m_pathBytes = pathBytes;
}

QByteArray Model::encodedPath() const
{
    return m_pathBytes.isEmpty() ? QFile::encodeName(m_path) : m_pathBytes;
}

} // namespace kivo
