#pragma once

#include <QString>

#include <memory>

namespace kivo {

// One sound image: its tag, its name (the library key) and the path of its file.
// Set once by init; shared between the library and load lists as ModelPtr.
class Model {
public:
    void init(qint32 lngTag, const QString &strName, const QString &strPath);

    const QString &path() const noexcept { return m_path; }
    const QString &name() const noexcept { return m_name; }
    qint32 tag() const noexcept { return m_tag; }

private:
    qint32 m_tag = 0;
    QString m_name;
    QString m_path;
};

using ModelPtr = std::shared_ptr<const Model>;

} // namespace kivo
