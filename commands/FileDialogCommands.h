#pragma once

#include <QString>

#include <exception>
#include <functional>

class QComboBox;

namespace kivo {

class CommonDialog;
class Glue;
class LibraryFileAdder;

// The presenter's commands that start with the common dialog: adding sound image
// files, exporting and importing a load list, and printing a list. Cancel in a dialog
// gives a status text, any other failure of it a message box.
class FileDialogCommands {
public:
    using StatusReport = std::function<void(const QString &)>;

    // llsList is the list selector, whose text is the active list's name.
    FileDialogCommands(Glue &glue, LibraryFileAdder &adder, const QComboBox &llsList, StatusReport status);

    void btnAddClick(CommonDialog &objDialog);
    void btnExportClick(CommonDialog &objDialog);
    void btnImportClick(CommonDialog &objDialog);
    void printList(const QString &strList, CommonDialog &objDialog);

private:
    QString showAddDialog(CommonDialog &objDialog);
    void reportFileFailure(const std::exception &error, const QString &strCancelled);

    Glue &m_glue;
    LibraryFileAdder &m_adder;
    const QComboBox &m_llsList;
    StatusReport m_status;
};

} // namespace kivo
