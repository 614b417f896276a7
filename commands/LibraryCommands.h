#pragma once

#include "model/Model.h"

#include <QString>

#include <vector>

namespace kivo {

class GlueEvents;
class Library;

// The facade's commands on the library: adding a sound image record and removing one.
// Each saves the library file, and takes its change back when the file cannot be
// written, so that the window keeps showing what the file holds.
class LibraryCommands {
public:
    LibraryCommands(Library &library, GlueEvents &events);

    void addToLibrary(qint32 lngTag, const QString &strName, const QString &strPath);
    void removeFromLibrary(const QString &strKey, int intLoc);

private:
    // Writes the library file; when it cannot be written, the library takes back what
    // changed since it held `before`. True then.
    [[nodiscard]] bool saveLibraryOrRestore(const std::vector<ModelPtr> &before);

    Library &m_library;
    GlueEvents &m_events;
};

} // namespace kivo
