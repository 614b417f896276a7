#pragma once

#include <QString>
#include <QTemporaryDir>
#include <QVariant>

namespace kivo::test {

// Points the per-user and the machine-wide settings folders (XDG_CONFIG_HOME and
// two XDG_CONFIG_DIRS folders) at a temporary folder. Create it before the first
// settings object of the process: the per-user folder is looked up only once.
class TemporarySettings {
public:
    TemporarySettings();

    bool isValid() const { return m_root.isValid(); }
    QString userFolder() const;
    QString systemFolder(int index) const;
    QString userFile() const;
    QString systemFile(int index) const;

    // Removes every settings file, so that the next case starts with no key at all.
    void clear() const;

    // Reads and writes the settings file itself, below the program's group.
    static void store(const QString &file, const QString &name, const QVariant &value);
    static QVariant stored(const QString &file, const QString &name);

private:
    QTemporaryDir m_root;
};

} // namespace kivo::test
