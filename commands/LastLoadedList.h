#pragma once

#include "model/LoadList.h"

#include <QString>

namespace kivo {

class LoadLists;

// The reserved load list "Last Loaded": a copy of the list last written to the unit.
// It is never deleted, given a new name or edited; an edit of it while it is active
// goes to a copy of it instead.
class LastLoadedList {
public:
    explicit LastLoadedList(LoadLists &loadLists);

    static QString name();

    // True when "Last Loaded" is the active list.
    bool isActive() const;
    // A copy of the active list, not yet in the set, named "Untitled" followed by the
    // lowest number that no list of the set bears.
    LoadListPtr untitledCopy() const;
    // Copies the active list into "Last Loaded", which joins the set the first time,
    // and saves every list. True when a file could not be written.
    [[nodiscard]] bool record();

private:
    LoadLists &m_loadLists;
};

} // namespace kivo
