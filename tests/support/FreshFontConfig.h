#pragma once

#include <QString>
#include <QTemporaryDir>

namespace kivo::test {

// A font configuration as a fresh machine's: the system's font folder and nothing
// added to it (in particular not Wine's font folder), with caches of its own. Give
// fileName() to a program as FONTCONFIG_FILE, or call use() in this process
// before the application object is created.
class FreshFontConfig {
public:
    FreshFontConfig();

    bool isValid() const { return m_written; }
    QString fileName() const;
    void use() const;

private:
    QTemporaryDir m_root;
    bool m_written = false;
};

} // namespace kivo::test
