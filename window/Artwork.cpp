#include "Artwork.h"

#include <QFile>

namespace kivo {

QPixmap artwork(const QString &name)
{
    // Drawings are kept as SVG where they scale cleanly, as PNG where they are pictures.
    for (const QString &suffix : {QStringLiteral(".svg"), QStringLiteral(".png")}) {
        const QString file = QStringLiteral(":/artwork/") + name + suffix;
        if (QFile::exists(file))
            return QPixmap(file);
    }
    return {};
}

} // namespace kivo
