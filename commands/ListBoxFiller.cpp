#include "ListBoxFiller.h"

#include "commands/GlueListener.h"
#include "model/Library.h"
#include "model/LoadLists.h"

#include <QComboBox>
#include <QListWidget>
#include <QSignalBlocker>

namespace kivo {

namespace {

void refill(QListWidget &list, const QStringList &rows)
{
    const QSignalBlocker blocker(&list);
    list.clear();
    list.addItems(rows);
}

void refill(QComboBox &box, const QStringList &rows)
{
    {
        const QSignalBlocker blocker(&box);
        box.clear();
    }
    ListBoxFiller::appendUnselected(box, rows);
}

void select(QListWidget &list, int row)
{
    list.setCurrentRow(row);
}

void select(QComboBox &box, int row)
{
    box.setCurrentIndex(row);
}

template <typename Items>
QStringList namesOf(const Items &items)
{
    QStringList names;
    for (const auto &item : items)
        names.append(item->name());
    return names;
}

// Refills the box with the names, then selects row `wanted`, or row `otherwise` where
// `wanted` names no row; -1 there leaves the box as the refill left it.
template <typename Box>
void refillSelecting(Box &box, const QStringList &names, int wanted, int otherwise)
{
    refill(box, names);
    const int rows = box.count();
    if (rows == 0)
        return;
    const int row = wanted >= 0 && wanted < rows ? wanted : otherwise;
    if (row >= 0)
        select(box, row);
}

} // namespace

ListBoxFiller::ListBoxFiller(QListWidget &libList, QListWidget &llList, QComboBox &llsList)
    : m_libList(libList)
    , m_llList(llList)
    , m_llsList(llsList)
{
}

void ListBoxFiller::appendUnselected(QComboBox &box, const QStringList &rows)
{
    const QSignalBlocker blocker(&box);
    box.addItems(rows);
    box.setCurrentIndex(-1);
}

void ListBoxFiller::showLibrary(const Library &objLibrary, int intSelect)
{
    const QStringList names = namesOf(objLibrary);
    refillSelecting(m_libList, names, intSelect, static_cast<int>(names.size()) - 1);
}

void ListBoxFiller::showLoadList(const LoadListPtr &objLL, int intSelect)
{
    QStringList names;
    if (objLL) {
        for (int location = 0; location <= objLL->ArrayLength(); ++location) {
            const ModelPtr m = objLL->getModel(location);
            names.append(m ? m->name() : QString());
        }
    }
    refill(m_llList, names);
    if (!objLL)
        return;
    const int rows = m_llList.count();
    m_llList.setCurrentRow(((intSelect % rows) + rows) % rows);
}

void ListBoxFiller::showLoadLists(const LoadLists &objLLS, int intSelect, int savedRow)
{
    const int rows = objLLS.getCount();
    // The saved row names no row when none was selected as the transfer began.
    const int wanted = intSelect != rowBeforeTransfer ? intSelect : (savedRow >= 0 && savedRow < rows ? savedRow : 0);
    refillSelecting(m_llsList, namesOf(objLLS), wanted, -1);
}

} // namespace kivo
