#include "GlueFixture.h"

#include "model/Global.h"

#include <QDir>
#include <QFile>

namespace kivo::test {

GlueFixture::GlueFixture()
    : previousDataPath(dataPath())
{
    QDir(dir.path()).mkpath(QStringLiteral("data"));
    QDir(dir.path()).mkpath(QStringLiteral("sounds"));
    setDataPath(dataFolder());
    glue.setListener(&listener);
}

GlueFixture::~GlueFixture()
{
    setDataPath(previousDataPath);
}

QString GlueFixture::dataFolder() const
{
    return QDir::toNativeSeparators(dir.path() + QStringLiteral("/data/"));
}

QString GlueFixture::soundPath(const QString &name) const
{
    return QDir::toNativeSeparators(dir.path() + QStringLiteral("/sounds/") + name + QStringLiteral(".tvs"));
}

bool GlueFixture::writeSound(const QString &name, const QByteArray &content) const
{
    QFile file(soundPath(name));
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size() && file.flush();
}

} // namespace kivo::test
