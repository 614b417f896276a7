#include "LargeDataFolder.h"

#include "model/Factory.h"
#include "model/Library.h"
#include "model/LoadLists.h"

#include <QDataStream>
#include <QDialog>
#include <QDir>
#include <QFile>

#include <cstdio>
#include <cstdlib>

namespace kivo::bench {

Answer NoQuestions::messageBox(const MessageRequest &request)
{
    std::fprintf(stderr, "unexpected message box: %s\n", qPrintable(request.text));
    std::abort();
}

int NoQuestions::execDialog(QDialog &dialog)
{
    std::fprintf(stderr, "unexpected dialog: %s\n", qPrintable(dialog.windowTitle()));
    std::abort();
}

ModelPtr libraryRecord(int i)
{
    return newModel(i, QStringLiteral("Sound image %1").arg(i),
                    QStringLiteral("/home/user/Sounds/bank %1/sound image %2.tvs").arg(i / 100).arg(i));
}

ModelPtr writeSoundImage(const QString &folder, int i)
{
    // The header (its length, the magic word "KIVO", the version, the tag), a word
    // before the image and the image of 28 blocks of 96 bytes.
    QByteArray bytes;
    QDataStream stream(&bytes, QIODevice::WriteOnly);
    stream.setByteOrder(QDataStream::BigEndian);
    stream << quint32(16) << quint32(0x4B49564F) << quint32(0x101) << qint32(i) << quint32(0x01020304);
    bytes.append(28 * 96, '\x5a');
    const ModelPtr record = libraryRecord(i);
    const QString path = QDir(folder).filePath(QStringLiteral("sound image %1.tvs").arg(i));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        std::abort();
    return newModel(i, record->name(), QDir::toNativeSeparators(path));
}

void writeLargeDataFolder()
{
    Library library;
    for (int i = 0; i < libraryRecords; ++i)
        library.add(libraryRecord(i));
    if (library.save())
        std::abort();
    LoadLists lists;
    for (int l = 0; l < loadListCount; ++l) {
        QString name = QStringLiteral("Load list %1").arg(l);
        const LoadListPtr list = newLoadList(name);
        for (int location = 0; location < LoadList::locationCount; ++location)
            list->add(location, library.getModel((l * 12 + location) % libraryRecords + 1));
        lists.addLoadList(list);
    }
    if (lists.saveAll())
        std::abort();
}

} // namespace kivo::bench
