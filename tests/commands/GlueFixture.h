#pragma once

#include "commands/Glue.h"
#include "model/Library.h"
#include "model/LoadLists.h"

#include "RecordingListener.h"
#include "ScriptedModalSeam.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace kivo::test {

// A data folder and a folder of sound files in one temporary folder, with a facade on
// a library and a set of lists of its own whose events a listener records.
struct GlueFixture {
    QTemporaryDir dir;
    QString previousDataPath;
    ScriptedModalSeam seam;
    Library library;
    LoadLists lists;
    Glue glue{library, lists};
    RecordingListener listener;

    GlueFixture();
    ~GlueFixture();
    GlueFixture(const GlueFixture &) = delete;
    GlueFixture &operator=(const GlueFixture &) = delete;

    QString dataFolder() const;
    QString dataFile(const QString &name) const { return dataFolder() + name; }
    QString soundPath(const QString &name) const;
    // Writes the sound file of that name; false when it could not be written.
    bool writeSound(const QString &name, const QByteArray &content = QByteArray(64, '\x5a')) const;
};

} // namespace kivo::test
