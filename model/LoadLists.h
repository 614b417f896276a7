#pragma once

#include "LoadList.h"

#include <QHash>
#include <QString>

#include <vector>

namespace kivo {

// All load lists, keyed by name without regard to case, in the order in which they
// were added, together with the active list.
class LoadLists {
public:
    using const_iterator = std::vector<LoadListPtr>::const_iterator;

    LoadLists() = default;
    LoadLists(const LoadLists &) = delete;
    LoadLists &operator=(const LoadLists &) = delete;

    const LoadListPtr &activeLoadList() const noexcept { return m_active; }
    void setActiveLoadList(const LoadListPtr &l) { m_active = l; }
    // Refuses, with a message, a name already present in any case.
    void addLoadList(const LoadListPtr &l);
    // Writes every list's file and the list-of-load-lists file; true when any failed.
    [[nodiscard]] bool saveAll();
    // True when saving would change the file of any list: edits not saved yet.
    bool hasUnsavedChanges() const;
    int getCount() const noexcept { return static_cast<int>(m_lists.size()); }
    // Writes the list's file, under strNewName when given; true on failure. The list
    // and the set stay as they are.
    [[nodiscard]] bool saveLoadList(const LoadList &l, const QString &strNewName = {});
    // Takes the list out of the set, deletes its file and makes the last remaining
    // list active. A name that is not in the set changes nothing.
    void remove(const QString &strName);
    // Gives the list of that name the new name and moves it to the end of the set.
    // Its file under the new name and the list-of-load-lists file are written first,
    // and its old file goes only once both are written: on failure the list keeps its
    // old name and place, in the set and on disk. True on failure.
    [[nodiscard]] bool rename(const QString &strOldName, const QString &strNewName);
    LoadListPtr getLoadList(const QString &strName) const;
    // Writes the active list as an export package named strName into dirPath, which
    // ends with the separator; true when the package could not be made.
    [[nodiscard]] bool exportLoadList(const QString &strName, const QString &dirPath);
    // The name of the export file in the package named strName.
    static QString exportFileName(const QString &strName);
    // Adds the entries of an export file to the active list.
    void importLoadList(const QString &strFile);
    // Reads every list's own file into it.
    void fillLoadLists();
    void copyInto(const LoadList &source, LoadList &target) const;
    // Every name followed by CR LF, in collection order.
    QString toString() const;

    const_iterator begin() const noexcept { return m_lists.cbegin(); }
    const_iterator end() const noexcept { return m_lists.cend(); }

private:
    static QString keyOf(const QString &name);
    LoadList &requireActive() const;
    // Files the list under the name at the position in the collection order.
    void rekey(const QString &oldName, const QString &newName, std::size_t position);

    // The name under which a list was added names its file, also after the list's
    // own name has been changed.
    struct Keyed {
        QString name;
        LoadListPtr list;
    };

    std::vector<LoadListPtr> m_lists;
    QHash<QString, Keyed> m_byKey;
    LoadListPtr m_active;
};

// Writes the file that names every load list, ListOfLL.kvl in the data folder: the
// set's toString(). True on failure.
[[nodiscard]] bool saveListOfLoadLists(const LoadLists &lists);
// Adds an empty load list for every name of that file that has a load list file. A
// name that the name rules refuse, or one already taken, is noted as passed over.
void loadListOfLoadLists(LoadLists &lists);

} // namespace kivo
