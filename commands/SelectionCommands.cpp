#include "SelectionCommands.h"

#include "commands/Glue.h"
#include "model/LoadList.h"
#include "platform/ModalSeam.h"

#include <QListWidget>
#include <QStringList>

#include <algorithm>
#include <utility>

namespace kivo {

SelectionCommands::SelectionCommands(Glue &glue, const QListWidget &libList, const QListWidget &llList,
                                     StatusReport status)
    : m_glue(glue)
    , m_libList(libList)
    , m_llList(llList)
    , m_status(std::move(status))
{
}

void SelectionCommands::btnRemoveClick()
{
    const int row = m_libList.currentRow();
    if (m_libList.count() == 0 || row < 0) {
        msgBox(QStringLiteral("Please select a Sound Image to remove"), Buttons::Ok, Icon::None,
               QStringLiteral("Error Removing File"));
        return;
    }
    m_glue.removeFromLibrary(m_libList.item(row)->text(), row);
}

bool SelectionCommands::checkLLSelection()
{
    if (m_llList.currentRow() < 0) {
        msgBox(QStringLiteral("Please select a Sound Image from your Load List"));
        return false;
    }
    return true;
}

void SelectionCommands::btnMoveUpClick()
{
    if (!checkLLSelection())
        return;
    const int i = m_llList.currentRow();
    m_glue.swapModels(i, i - 1);
}

void SelectionCommands::btnMoveDownClick()
{
    if (!checkLLSelection())
        return;
    const int i = m_llList.currentRow();
    m_glue.swapModels(i, i + 1);
}

void SelectionCommands::btnMoveRightClick()
{
    const qsizetype selected = m_libList.selectedItems().size();
    if (selected > LoadList::locationCount) {
        msgBox(QStringLiteral("Load List can only have 12 images"));
        return;
    }
    if (selected == 0 || m_libList.currentRow() < 0) {
        msgBox(QStringLiteral(" Please select Sound Image from your list"));
        return;
    }
    addSelectedToLL(m_llList.currentRow() < 0 ? -1 : m_llList.currentRow());
}

QList<int> SelectionCommands::selectedLibraryRows() const
{
    // selectedItems() answers in the order of selection, not of the rows.
    QList<int> rows;
    for (const QListWidgetItem *item : m_libList.selectedItems())
        rows.append(m_libList.row(item));
    std::sort(rows.begin(), rows.end());
    return rows;
}

void SelectionCommands::addSelectedToLL(int loc)
{
    mCancelAdd = false;
    const QList<int> rows = selectedLibraryRows();
    // The names are taken first: the answers to the facade's questions may refill the list.
    QStringList names;
    for (const int row : rows)
        names.append(m_libList.item(row)->text());
    for (const QString &name : names) {
        m_glue.addToLL(name, loc);
        loc = -1;
        if (mCancelAdd)
            return;
    }
}

void SelectionCommands::btnMoveLeftClick()
{
    if (!checkLLSelection())
        return;
    const int row = m_llList.currentRow();
    if (m_llList.item(row)->text().isEmpty()) {
        m_status(QStringLiteral(" Nothing to remove"));
        return;
    }
    m_glue.removeFromLL(row);
}

} // namespace kivo
