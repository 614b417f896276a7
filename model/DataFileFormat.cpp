#include "DataFileFormat.h"

#include "Factory.h"
#include "Global.h"
#include "NumberParsing.h"

#include <QFile>

#include <algorithm>
#include <array>
#include <unordered_set>

namespace kivo {

namespace {

// The four TAB-separated fields of an entry line; none for a line with another
// number of fields. Reading a large library takes this for every line, so it costs
// no list of its own.
std::optional<std::array<QStringView, 4>> entryFields(QStringView line)
{
    std::array<QStringView, 4> fields;
    qsizetype start = 0;
    for (std::size_t i = 0; i + 1 < fields.size(); ++i) {
        const qsizetype tab = line.indexOf(u'\t', start);
        if (tab < 0)
            return std::nullopt;
        fields[i] = line.sliced(start, tab - start);
        start = tab + 1;
    }
    fields.back() = line.sliced(start);
    if (fields.back().contains(u'\t'))
        return std::nullopt;
    return fields;
}

// The lines of the text, without the empty lines at its end.
QList<QStringView> contentLines(QStringView text)
{
    QList<QStringView> lines = splitLineViews(text);
    while (!lines.isEmpty() && lines.constLast().isEmpty())
        lines.removeLast();
    return lines;
}

} // namespace

QString dataFile(const QString &baseName)
{
    return dataPath() + baseName + dataFileExtension();
}

std::optional<Entry> parseEntry(const FileShell::Line &line)
{
    // No name or path holds a NUL: such a line is binary, or text in another encoding.
    if (line.text.contains(QChar(u'\0')))
        return std::nullopt;
    const std::optional<std::array<QStringView, 4>> found = entryFields(line.text);
    if (!found)
        return std::nullopt;
    const std::array<QStringView, 4> &fields = *found;
    const auto index = roundToInteger<qint16>(numericValue(fields[0]));
    const auto tag = roundToInteger<qint32>(numericValue(fields[1]));
    if (!index || !tag)
        return std::nullopt;
    Entry entry{*index, *tag, fields[2], fields[3], {}};
    // The text has its TABs where the bytes have them, whichever way each field reads.
    if (!line.legacyBytes.isEmpty()) {
        const QByteArray bytes = line.legacyBytes.split('\t').at(3);
        if (bytes != FileShell::encode(entry.file.toString()))
            entry.fileBytes = bytes;
    }
    return entry;
}

ModelPtr recordOf(const Entry &entry, const QString &folder)
{
    const QByteArray pathBytes = entry.fileBytes.isEmpty() ? QByteArray() : QFile::encodeName(folder) + entry.fileBytes;
    return newModel(entry.tag, entry.name.toString(), folder + entry.file.toString(), pathBytes);
}

bool acceptsIndex(const IPersistToFile &obj, qint16 index)
{
    return obj.name() == libraryFileBaseName() || (index >= 0 && index < obj.count());
}

bool isBlank(QStringView line)
{
    return line.trimmed().isEmpty();
}

bool anyLeftOut(const IPersistToFile &obj, const std::vector<ModelPtr> &records)
{
    std::unordered_set<const Model *> held;
    for (int i = 0; i < obj.count(); ++i) {
        if (const ModelPtr model = obj.getModel(i))
            held.insert(model.get());
    }
    return std::any_of(records.cbegin(), records.cend(),
                       [&held](const ModelPtr &record) { return !held.contains(record.get()); });
}

QByteArray fileNameBytes(const Model &record)
{
    const QByteArray &bytes = record.pathBytes();
    if (bytes.isEmpty())
        return FileShell::encode(getFileName(record.path()));
    return bytes.mid(bytes.lastIndexOf('/') + 1);
}

QByteArray dataFileLines(const IPersistToFile &obj)
{
    return entryLines(
        obj, [](int, const Model &) { return true; },
        [](int, const Model &record, EntryBytes &content) {
            // The path field keeps the bytes that the record's data file held, where no
            // text gives them back.
            if (record.pathBytes().isEmpty())
                content.putText(record.path());
            else
                content.put(record.pathBytes());
        });
}

QByteArray fileBytes(QByteArray content)
{
    content.append(lineBreakBytes);
    return content;
}

bool sameLines(QStringView a, QStringView b)
{
    return contentLines(a) == contentLines(b);
}

} // namespace kivo
