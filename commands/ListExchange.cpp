#include "ListExchange.h"

#include "commands/Glue.h"
#include "commands/GlueEvents.h"
#include "model/FileProxy.h"
#include "model/Global.h"
#include "model/LoadLists.h"
#include "platform/LineBreak.h"
#include "platform/ModalSeam.h"

#include <QStringList>

#include <algorithm>
#include <optional>

namespace kivo {

namespace {

const QString importFailedText = QStringLiteral(" File import failed!");

// One line for each line of an export file that an import passed over; a file of junk
// could give thousands, so the box names the first of them.
QString passedOverText(const QList<PassedOverLine> &lines)
{
    constexpr qsizetype shown = 20;
    QStringList text;
    for (const PassedOverLine &line : lines.first(std::min(shown, lines.size()))) {
        const QString name = line.name.isEmpty() ? QString() : QStringLiteral(" (") + line.name + u')';
        text.append(QStringLiteral("Line ") + QString::number(line.number) + name + QStringLiteral(": ") + line.reason);
    }
    if (lines.size() > shown)
        text.append(QStringLiteral("and ") + QString::number(lines.size() - shown) + QStringLiteral(" more lines"));
    return text.join(lineBreak());
}

// The lines of the export file strFile; nothing when the package cannot be imported at
// all, which the status line and a message box have said. Checked before the list is
// made, so that a refused package leaves nothing behind.
std::optional<ExportFileLines> importableLines(const QString &strFile, GlueEvents &events)
{
    if (fileNotExist(strFile)) {
        events.status(QStringLiteral(" File ") + strFile + QStringLiteral(" is not valid!"));
        return std::nullopt;
    }
    if (const std::optional<PackageFault> fault = packageFault(strFile)) {
        const QString why = fault->kind == PackageFault::Kind::Outside
            ? QStringLiteral(" is not in the folder of the export file")
            : QStringLiteral(" is missing from the folder of the export file");
        msgBox(QStringLiteral("Cannot import ") + strFile + lineBreak() + QStringLiteral("The Sound Image file ") + fault->file
               + why);
        events.status(importFailedText);
        return std::nullopt;
    }
    ExportFileLines lines = exportFileLines(strFile);
    if (lines.entries == 0 && !lines.passedOver.isEmpty()) {
        msgBox(QStringLiteral("Cannot import ") + strFile + lineBreak()
               + QStringLiteral("No line of it is a Sound Image entry that can be imported:") + lineBreak()
               + passedOverText(lines.passedOver));
        events.status(importFailedText);
        return std::nullopt;
    }
    return lines;
}

} // namespace

ListExchange::ListExchange(Glue &glue, LoadLists &loadLists, GlueEvents &events)
    : m_glue(glue)
    , m_loadLists(loadLists)
    , m_events(events)
{
}

void ListExchange::exportLL(const QString &strName, const QString &strPath)
{
    if (m_loadLists.getCount() == 0) {
        m_events.status(QStringLiteral(" There is no Load List to export"));
    } else if (!strPath.isEmpty() && !strName.isEmpty() && fitsSavedFileName(LoadLists::exportFileName(strName), strPath)) {
        const bool failed = m_loadLists.exportLoadList(strName, strPath);
        m_events.status(failed ? QStringLiteral(" File export failed!") : QStringLiteral(" File exported successfully!"));
    } else {
        m_events.status(QStringLiteral(" File name/File path is not valid"));
    }
}

void ListExchange::importLL(const QString &strFile, const QString &strName)
{
    const std::optional<ExportFileLines> lines = importableLines(strFile, m_events);
    if (!lines)
        return;
    const LoadListPtr previous = m_loadLists.activeLoadList();
    const int before = m_loadLists.getCount();
    m_glue.createLL(strName);
    if (m_loadLists.getCount() == before) {
        m_events.status(importFailedText);
        return;
    }
    m_loadLists.importLoadList(strFile);
    if (m_glue.saveLL()) {
        dropImportedList(previous);
        m_events.status(importFailedText);
        return;
    }
    const LoadListPtr active = m_loadLists.activeLoadList();
    m_events.raise([&](GlueListener &l) { l.LoadListChange(active, 0); });
    m_events.status(QStringLiteral(" File imported successfully!"));
    if (!lines->passedOver.isEmpty())
        msgBox(QStringLiteral("These lines of ") + strFile + QStringLiteral(" were not imported:") + lineBreak()
               + passedOverText(lines->passedOver));
}

void ListExchange::dropImportedList(const LoadListPtr &previous)
{
    m_loadLists.remove(m_loadLists.activeLoadList()->name());
    // Should this fail too, the file still names the list, but a name without a list
    // file is passed over when the lists are read.
    static_cast<void>(saveListOfLoadLists(m_loadLists));
    m_loadLists.setActiveLoadList(previous);
    m_events.raise([&](GlueListener &l) { l.LoadListChange(previous, 0); });
    const auto found = std::find(m_loadLists.begin(), m_loadLists.end(), previous);
    const int row = found == m_loadLists.end() ? -1 : static_cast<int>(found - m_loadLists.begin());
    m_events.raise([&](GlueListener &l) { l.LoadListsChange(m_loadLists, row); });
}

} // namespace kivo
