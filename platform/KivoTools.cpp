#include "KivoTools.h"

#include "RuntimeError.h"

#include <QFile>

namespace kivo {

KivoTools::KivoTools(const QString &libraryName)
    : m_libraryName(libraryName)
{
}

template <typename Function>
Function KivoTools::bound(Function &binding, const char *name)
{
    if (binding != nullptr)
        return binding;
    // QLibrary remembers a failed load; a fresh file name makes it try again.
    if (!m_library.isLoaded())
        m_library.setFileName(m_libraryName);
    if (!m_library.isLoaded() && !m_library.load()) {
        throw RuntimeError(ErrorNumber::FileNotFound,
                           QStringLiteral("File not found: %1 (%2)")
                               .arg(m_library.fileName(), m_library.errorString()));
    }
    binding = reinterpret_cast<Function>(m_library.resolve(name));
    if (binding == nullptr) {
        throw RuntimeError(ErrorNumber::EntryPointNotFound,
                           QStringLiteral("Can't find DLL entry point %1 in %2")
                               .arg(QString::fromLatin1(name), m_library.fileName()));
    }
    return binding;
}

std::int32_t KivoTools::writeMidi(const QByteArray &encodedPath, std::int32_t location, std::int32_t deviceId)
{
    return bound(m_writeMidi, "writeMidi")(encodedPath.constData(), location, deviceId);
}

std::int32_t KivoTools::checkMidiPort(std::int32_t deviceId)
{
    return bound(m_checkMidiPort, "checkMidiPort")(deviceId);
}

std::int32_t KivoTools::readTag(const QString &path)
{
    return bound(m_readTag, "readTag")(QFile::encodeName(path).constData());
}

std::int32_t KivoTools::getTvsId(const QString &path)
{
    return bound(m_getTvsId, "getTvsId")(QFile::encodeName(path).constData());
}

} // namespace kivo
