#pragma once

#include <QList>
#include <QString>

#include <functional>

class QListWidget;

namespace kivo {

class Glue;

// The presenter's commands on the rows selected in the library list and the load
// list: removing a library entry, putting library entries into the active list,
// emptying a location, and moving a location up or down.
class SelectionCommands {
public:
    using StatusReport = std::function<void(const QString &)>;

    SelectionCommands(Glue &glue, const QListWidget &libList, const QListWidget &llList, StatusReport status);

    void btnRemoveClick();
    void btnMoveUpClick();
    void btnMoveDownClick();
    void btnMoveRightClick();
    void btnMoveLeftClick();
    // Stops the entries of btnMoveRightClick that are still to go into the list: the
    // user cancelled, or there is no list to take them.
    void cancelAdd() noexcept { mCancelAdd = true; }

private:
    bool checkLLSelection();
    void addSelectedToLL(int loc);
    // The rows of the library list that are marked, in ascending order.
    QList<int> selectedLibraryRows() const;

    Glue &m_glue;
    const QListWidget &m_libList;
    const QListWidget &m_llList;
    StatusReport m_status;
    bool mCancelAdd = false;
};

} // namespace kivo
