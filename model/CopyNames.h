#pragma once

#include "Model.h"

#include <QByteArray>
#include <QHash>
#include <QSet>
#include <QString>

namespace kivo {

// The names of the sound image copies in an export package. Two names that read as
// one text, whatever the case of their letters, name one file on many file systems
// and on the computer that the package is taken to: a copy whose name would meet one
// already taken gets a name of its own.
class CopyNames {
public:
    explicit CopyNames(const QString &exportFile);

    // The name of the record's copy: its own file's name when no other copy has it.
    QByteArray take(const Model &record);

private:
    // A name holds no more bytes than the file system's longest file name.
    static constexpr qsizetype longestName = 255;

    // The text that an import reads for the name.
    static QString keyOf(const QByteArray &name);
    // The name with " (n)" before its extension, its stem shortened by whole
    // characters where the whole would be too long.
    static QByteArray numbered(const QByteArray &name, int n);

    QSet<QString> m_taken;
    QHash<QByteArray, QByteArray> m_bySource;
};

} // namespace kivo
