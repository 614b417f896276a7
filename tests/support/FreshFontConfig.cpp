#include "FreshFontConfig.h"

#include <QFile>

namespace kivo::test {

FreshFontConfig::FreshFontConfig()
{
    if (!m_root.isValid())
        return;
    QFile file(fileName());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return;
    const QString text = QStringLiteral("<?xml version=\"1.0\"?>\n"
                                        "<!DOCTYPE fontconfig SYSTEM \"urn:fontconfig:fonts.dtd\">\n"
                                        "<fontconfig>\n"
                                        "  <dir>/usr/share/fonts</dir>\n"
                                        "  <cachedir>%1</cachedir>\n"
                                        "</fontconfig>\n")
                             .arg(m_root.filePath(QStringLiteral("cache")).toHtmlEscaped());
    m_written = file.write(text.toUtf8()) > 0 && file.flush();
}

QString FreshFontConfig::fileName() const
{
    return m_root.filePath(QStringLiteral("fonts.conf"));
}

void FreshFontConfig::use() const
{
    qputenv("FONTCONFIG_FILE", QFile::encodeName(fileName()));
}

} // namespace kivo::test
