#pragma once

#include "model/LoadList.h"

#include <QString>

namespace kivo {

class Glue;
class GlueEvents;
class LoadLists;

// Exports a load list as a package, its export file with copies of its sound image
// files, and imports such a package as a new load list. It answers through the
// facade's events, and a package that cannot be imported leaves no list behind.
class ListExchange {
public:
    ListExchange(Glue &glue, LoadLists &loadLists, GlueEvents &events);

    void exportLL(const QString &strName, const QString &strPath);
    void importLL(const QString &strFile, const QString &strName);

private:
    // Takes the active list, made by an import whose files could not be written, out
    // of the set and the data folder again, and shows the list that was active before.
    void dropImportedList(const LoadListPtr &previous);

    Glue &m_glue;
    LoadLists &m_loadLists;
    GlueEvents &m_events;
};

} // namespace kivo
