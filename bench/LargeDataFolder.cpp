#include "LargeDataFolder.h"

#include "model/Factory.h"
#include "model/Library.h"
#include "model/LoadLists.h"

#include <QDialog>

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
