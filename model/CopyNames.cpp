#include "CopyNames.h"

#include "DataFileFormat.h"
#include "FileShell.h"

namespace kivo {

CopyNames::CopyNames(const QString &exportFile)
{
    m_taken.insert(keyOf(FileShell::encode(exportFile)));
}

QByteArray CopyNames::take(const Model &record)
{
    const QByteArray source = record.encodedPath();
    if (const auto found = m_bySource.constFind(source); found != m_bySource.cend())
        return found.value();
    const QByteArray original = fileNameBytes(record);
    QByteArray name = original;
    for (int n = 2; m_taken.contains(keyOf(name)); ++n)
        name = numbered(original, n);
    m_taken.insert(keyOf(name));
    m_bySource.insert(source, name);
    return name;
}

QString CopyNames::keyOf(const QByteArray &name)
{
    const QString text = QString::fromUtf8(name);
    const QString read = text.toUtf8() == name ? text : QString::fromLatin1(name);
    return read.normalized(QString::NormalizationForm_C).toCaseFolded();
}

QByteArray CopyNames::numbered(const QByteArray &name, int n)
{
    const qsizetype dot = name.lastIndexOf('.');
    const qsizetype stemEnd = dot > 0 ? dot : name.size();
    QByteArray stem = name.left(stemEnd);
    const QByteArray rest = " (" + QByteArray::number(n) + ')' + name.mid(stemEnd);
    while (!stem.isEmpty() && stem.size() + rest.size() > longestName) {
        while (stem.size() > 1 && (static_cast<unsigned char>(stem.back()) & 0xC0) == 0x80)
            stem.chop(1);
        stem.chop(1);
    }
    return stem + rest;
}

} // namespace kivo
