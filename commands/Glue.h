#pragma once

#include "GlueEvents.h"
#include "GlueListener.h"

#include "model/LoadList.h"

#include <QPointer>
#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

class QPrinter;
class QProgressBar;
class QWidget;

namespace kivo {

class KivoTools;
class Library;
class LoadLists;

// The model facade: every command on the library and the load lists runs here and
// answers only through the listener's events.
class Glue {
public:
    // Works on the program's shared library and set of load lists.
    Glue();
    Glue(Library &library, LoadLists &loadLists);

    // Not owned; nullptr drops the events.
    void setListener(GlueListener *listener) noexcept { m_events.setListener(listener); }
    // The window that owns the reminder shown before a transfer.
    void setMainForm(QWidget *mainForm);
    // The binding through which transfers reach the unit; the program's by default.
    void setKivoTools(KivoTools &tools) noexcept { m_tools = &tools; }
    KivoTools &kivoTools() const noexcept { return *m_tools; }

    void update();
    // True when the library file could not be written; the user has been told.
    [[nodiscard]] bool saveLibrary();
    void addToLibrary(qint32 lngTag, const QString &strName, const QString &strPath);
    void removeFromLibrary(const QString &strKey, int intLoc = 0);
    void createLL(const QString &strName);
    void removeLL(const QString &strName, int intCmd = 0);
    void addToLL(const QString &strName, int intPos = 0);
    void removeFromLL(int intLocation);
    void swapModels(int intId1, int intId2);
    void setActiveLL(const QString &strName);
    void exportLL(const QString &strName, const QString &strPath);
    void importLL(const QString &strFile, const QString &strName);
    // True when a file could not be written; the status line has said so.
    [[nodiscard]] bool saveAll();
    // What the last saveAll could not do, for a message box: the status line's text,
    // and the system's reason on a line of its own where it gave one; empty when it
    // saved everything.
    const QString &saveFailure() const noexcept { return m_saveFailure; }
    void renameLL(const QString &strNewName, const QString &strOldName);
    // True when a file could not be written; the status line has said so.
    [[nodiscard]] bool saveLL(const QString &strName = {});
    // Writes the sound images of the active list to the unit on device lgDevice,
    // showing the progress on objProgress. -1, no device chosen, sends nothing.
    void sendBlock(qint32 lgDevice, QProgressBar &objProgress);
    void loadAllLoadLists();
    void getFileInfo(const QString &strKey, const QString &strSource, int strIndex);
    // Prints the library ("LIBRARY") or the active list ("LOADLIST"), 30 rows a page,
    // each page a print job of its own; any other text prints nothing.
    void printList(const QString &strList);
    // Not owned; nullptr = the system's default printer.
    void setPrinter(QPrinter *printer) noexcept { m_printer = printer; }
    void addLoadList(const LoadListPtr &ll);
    LoadListPtr getActiveLoadList() const;

    static QString lastLoadedName();

private:
    // Writes the library file; when it cannot be written, the library takes back what
    // changed since it held `before`, so that the window keeps showing what the file
    // holds. True then.
    [[nodiscard]] bool saveLibraryOrRestore(const std::vector<ModelPtr> &before);
    void placeInLL(int intLoc, const QString &strName);
    bool noLoadList() const;
    bool isLastLoadedActive() const;
    void copyToUntitled();
    // The active list, or the copy that an edit of "Last Loaded" goes to instead.
    LoadListPtr listToEdit();
    void recordLastLoaded();

    void reportSaved(bool failed, const QString &success);
    void reportRecord(const ModelPtr &m);

    template <typename Event>
    void raise(Event &&event)
    {
        m_events.raise(std::forward<Event>(event));
    }
    void status(const QString &strMessage) { m_events.status(strMessage); }

    Library &mLibrary;
    LoadLists &mLoadLists;
    GlueEvents m_events;
    QPointer<QWidget> m_mainForm;
    KivoTools *m_tools;
    QPrinter *m_printer = nullptr;
    QString m_saveFailure;
};

} // namespace kivo
