#pragma once

#include "model/LoadList.h"

#include <QStringList>

class QComboBox;
class QListWidget;

namespace kivo {

class Library;
class LoadLists;

// Shows the library and the load lists in the window's list boxes. A refill runs none
// of the window's click handling, which Qt would otherwise run for every change of the
// current row while the rows come and go; only the selection made afterwards does.
class ListBoxFiller {
public:
    ListBoxFiller(QListWidget &libList, QListWidget &llList, QComboBox &llsList);

    // Selects row intSelect, or the last row where it names none.
    void showLibrary(const Library &objLibrary, int intSelect);
    // Selects location intSelect, counted round the list's locations.
    void showLoadList(const LoadListPtr &objLL, int intSelect);
    // Selects row intSelect, or none where it names none; after a transfer the row
    // savedRow, selected as the transfer began, or the first where that names none.
    void showLoadLists(const LoadLists &objLLS, int intSelect, int savedRow);

    // Appends rows to a combo box and leaves no row selected: a combo box selects its
    // first row by itself when a row is added to an empty box, and that change would
    // run the window's click handling in the middle of a refill.
    static void appendUnselected(QComboBox &box, const QStringList &rows);

private:
    QListWidget &m_libList;
    QListWidget &m_llList;
    QComboBox &m_llsList;
};

} // namespace kivo
