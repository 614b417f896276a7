#include "LibraryCommands.h"

#include "commands/GlueEvents.h"
#include "model/Factory.h"
#include "model/Library.h"

namespace kivo {

LibraryCommands::LibraryCommands(Library &library, GlueEvents &events)
    : m_library(library)
    , m_events(events)
{
}

bool LibraryCommands::saveLibraryOrRestore(const std::vector<ModelPtr> &before)
{
    if (!m_library.save())
        return false;
    m_library.restore(before);
    return true;
}

void LibraryCommands::addToLibrary(qint32 lngTag, const QString &strName, const QString &strPath)
{
    const QString old = m_library.tagExist(lngTag);
    if (!old.isEmpty()) {
        m_events.raise([&](GlueListener &l) { l.FileAlreadyExist(lngTag, strName, strPath, old); });
        return;
    }
    if (m_library.nameExist(strName)) {
        m_events.raise([&](GlueListener &l) { l.NameAlreadyExist(lngTag, strName, strPath); });
        return;
    }
    const std::vector<ModelPtr> before = m_library.records();
    m_library.add(newModel(lngTag, strName, strPath));
    if (m_library.records().size() == before.size())
        return;
    if (saveLibraryOrRestore(before)) {
        m_events.status(QStringLiteral(" File not added: the library could not be saved"));
        return;
    }
    const int row = m_library.getCount() - 1;
    m_events.raise([&](GlueListener &l) { l.LibraryChange(m_library, row); });
    m_events.status(QStringLiteral(" File added"));
}

void LibraryCommands::removeFromLibrary(const QString &strKey, int intLoc)
{
    const std::vector<ModelPtr> before = m_library.records();
    m_library.removeItem(strKey);
    if (saveLibraryOrRestore(before)) {
        m_events.status(QStringLiteral(" File not removed: the library could not be saved"));
        return;
    }
    m_events.raise([&](GlueListener &l) { l.LibraryChange(m_library, intLoc); });
    m_events.status(QStringLiteral(" File removed"));
}

} // namespace kivo
