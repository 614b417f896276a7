#include "DragAndDrop.h"

#include "commands/GlueProxy.h"

#include <QDir>
#include <QMimeData>
#include <QUrl>
#include <QtEndian>

#include <cmath>

namespace kivo {

std::unique_ptr<QMimeData> modelDragData(const QString &strText)
{
    QByteArray units(strText.size() * 2, Qt::Uninitialized);
    qToLittleEndian<char16_t>(strText.utf16(), strText.size(), units.data());
    auto data = std::make_unique<QMimeData>();
    data->setData(gModelClipFormat, units);
    return data;
}

bool hasModelDragData(const QMimeData &data)
{
    return data.hasFormat(gModelClipFormat);
}

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

bool hasFileList(const QMimeData &data)
{
    return !droppedFiles(data).isEmpty();
}

bool isSoundImageFile(const QString &path)
{
    return path.endsWith(u".tvs", Qt::CaseSensitive);
}

} // namespace kivo
