#include "DragAndDrop.h"

#include <QDir>
#include <QMimeData>
#include <QUrl>

#include <cmath>

namespace kivo {

int loadListRowAt(int y, int listHeight)
{
    constexpr double locations = 12;
    if (listHeight <= 0)
        return -1;
    // std::nearbyint rounds in the default mode, to nearest with halves to even.
    return static_cast<int>(std::nearbyint(y / (listHeight / locations)));
}

QStringList droppedFiles(const QMimeData &data)
{
    QStringList files;
    for (const QUrl &url : data.urls()) {
        if (url.isLocalFile())
            files.append(QDir::toNativeSeparators(url.toLocalFile()));
    }
    return files;
}

bool isSoundImageFile(const QString &path)
{
    return path.endsWith(u".tvs", Qt::CaseSensitive);
}

} // namespace kivo
