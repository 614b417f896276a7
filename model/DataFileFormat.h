#pragma once

#include "EntryBytes.h"
#include "FileShell.h"
#include "IPersistToFile.h"
#include "Model.h"
#include "platform/LineBreak.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringView>

#include <optional>
#include <utility>
#include <vector>

// The entry lines of the data files and of export files: a location's index, the tag,
// the name and the file, separated by TAB, each line ending with CR LF.
namespace kivo {

// The data folder's file of that base name.
QString dataFile(const QString &baseName);

struct Entry {
    qint16 index;
    qint32 tag;
    QStringView name;
    QStringView file;
    // The bytes of the file field when they are not UTF-8 (the field reads them as
    // Latin-1); empty otherwise.
    QByteArray fileBytes;
};

// The entry that the line gives; none for a line that holds no entry.
std::optional<Entry> parseEntry(const FileShell::Line &line);
// The record that an entry names, its file taken relative to folder.
ModelPtr recordOf(const Entry &entry, const QString &folder);
// The library appends every entry; a load list places it at the location named by
// the index, which must be one of its own.
bool acceptsIndex(const IPersistToFile &obj, qint16 index);
// A line of nothing but white space holds nothing that could be lost.
bool isBlank(QStringView line);
// True when a record that a reading made is not in obj: refused as a second record of
// its name, or replaced by a later line for the same location.
bool anyLeftOut(const IPersistToFile &obj, const std::vector<ModelPtr> &records);

// The name of the record's file, as the bytes that name it on disk.
QByteArray fileNameBytes(const Model &record);

// The entry lines of every record of obj, by position, for the records that include
// takes, each ending in the file field that putFile writes.
template <typename Include, typename PutFile>
QByteArray entryLines(const IPersistToFile &obj, Include include, PutFile putFile)
{
    EntryBytes content(obj.count() * 112);
    for (int i = 0; i < obj.count(); ++i) {
        const ModelPtr model = obj.getModel(i);
        if (!model || !include(i, *model))
            continue;
        content.putNumber(i);
        content.put('\t');
        content.putNumber(model->tag());
        content.put('\t');
        content.putText(model->name());
        content.put('\t');
        putFile(i, *model, content);
        content.put(lineBreakBytes);
    }
    return std::move(content).take();
}

// The lines of the unit's data file, without the CR LF that ends the file.
QByteArray dataFileLines(const IPersistToFile &obj);
// The bytes of a data file with this content: the content and one more CR LF.
QByteArray fileBytes(QByteArray content);
// True when both texts hold the same lines, whichever line ends they use, and
// whatever empty lines end them.
bool sameLines(QStringView a, QStringView b);

} // namespace kivo
