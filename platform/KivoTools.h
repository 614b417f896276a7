#pragma once

#include "kivotools.h"

#include <QByteArray>
#include <QLibrary>
#include <QString>

#include <cstdint>

namespace kivo {

// The program's binding to the kivotools library, loaded by name through the
// ordinary library search. Each function is bound on its first call; a binding
// that succeeded is kept, one that failed is tried again at the next call.
// A missing library or function throws RuntimeError (FileNotFound or
// EntryPointNotFound). The library stays loaded until the program ends.
class KivoTools {
public:
    explicit KivoTools(const QString &libraryName = QStringLiteral("kivotools"));

    // The path as the file system names the file, as kivotools takes it: a record
    // keeps those bytes, which need not be valid in any encoding.
    std::int32_t writeMidi(const QByteArray &encodedPath, std::int32_t location, std::int32_t deviceId);
    std::int32_t checkMidiPort(std::int32_t deviceId);
    std::int32_t readTag(const QString &path);
    std::int32_t getTvsId(const QString &path);

private:
    template <typename Function>
    Function bound(Function &binding, const char *name);

    QString m_libraryName;
    QLibrary m_library;
    decltype(&::writeMidi) m_writeMidi = nullptr;
    decltype(&::checkMidiPort) m_checkMidiPort = nullptr;
    decltype(&::readTag) m_readTag = nullptr;
    decltype(&::getTvsId) m_getTvsId = nullptr;
};

} // namespace kivo
