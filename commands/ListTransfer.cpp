#include "ListTransfer.h"

#include "commands/InputBlocker.h"
#include "commands/frmTip.h"
#include "commands/setHourGlass.h"
#include "model/LoadLists.h"
#include "platform/KivoTools.h"
#include "platform/LineBreak.h"
#include "platform/ModalSeam.h"
#include "platform/PauseSeam.h"
#include "platform/RuntimeError.h"

#include <QWidget>

#include <chrono>
#include <exception>
#include <utility>

namespace kivo {

namespace {

constexpr auto pauseBetweenImages = std::chrono::milliseconds(100);

// The locations come as the user knows them, 1 to 12, each with its sound.
QString notWrittenText(const QStringList &locations)
{
    return QStringLiteral("These Sound Images were not written to your Kivo:") + lineBreak() + lineBreak() + locations.join(lineBreak())
        + lineBreak() + lineBreak()
        + QStringLiteral("Check that their files can be read and that your Kivo is connected, "
                         "then transfer the Load List again.");
}

} // namespace

ListTransfer::ListTransfer(KivoTools &tools, const LoadLists &loadLists, StatusReport status)
    : m_tools(tools)
    , m_loadLists(loadLists)
    , m_status(std::move(status))
{
}

void ListTransfer::send(qint32 lgDevice, QWidget *mainForm, const Progress &progress,
                        const std::function<void()> &whenWritten)
{
    if (!canTransfer(lgDevice, mainForm))
        return;
    const std::optional<QStringList> notWritten = writeActiveList(lgDevice, progress, whenWritten);
    // Each failure was named only for a moment; the user must learn which sounds
    // the unit still lacks, with the window free again to answer.
    if (notWritten && !notWritten->isEmpty())
        msgBox(notWrittenText(*notWritten));
}

std::optional<QStringList> ListTransfer::writeActiveList(qint32 lgDevice, const Progress &progress,
                                                         const std::function<void()> &whenWritten)
{
    const LoadListPtr active = m_loadLists.activeLoadList();
    InputBlocker blocked;
    setHourGlass hourGlass;
    hourGlass.setPointer(PointerShape::Hourglass);
    progress.advanced(0, active->count());
    QStringList notWritten;
    try {
        notWritten = writeImages(*active, lgDevice, progress, blocked);
    } catch (const std::exception &error) {
        // A lost binding or port must not leave a visible bar and a stale status.
        progress.ended();
        m_status(QStringLiteral(" Writing to Kivo failed: ") + describe(error));
        return std::nullopt;
    }
    whenWritten();
    progress.ended();
    return notWritten;
}

bool ListTransfer::confirmTransfer(QWidget *mainForm)
{
    frmTip tip;
    tip.setMainForm(mainForm);
    tip.showTip();
    return tip.blnGo();
}

bool ListTransfer::canTransfer(qint32 lgDevice, QWidget *mainForm)
{
    if (!confirmTransfer(mainForm)) {
        m_status(QStringLiteral(" Writing to Kivo aborted"));
        return false;
    }
    const LoadListPtr active = m_loadLists.activeLoadList();
    if (!active) {
        m_status(QStringLiteral(" Please select a valid Load List!"));
        return false;
    }
    if (active->count() == 0) {
        m_status(QStringLiteral(" Active Load List is empty!"));
        return false;
    }
    try {
        // No device chosen: the remembered unit is away. Nothing is sent, since any
        // port taken in its place, such as the MIDI system's first, is another unit.
        if (lgDevice == -1 || m_tools.checkMidiPort(lgDevice) != 0) {
            m_status(QStringLiteral(" Cannot open Midi Port for output"));
            return false;
        }
    } catch (const RuntimeError &) {
        msgBox(QStringLiteral("A required DLL is missing"));
        m_status(QStringLiteral(" Cannot write to Kivo"));
        return false;
    }
    return true;
}

QStringList ListTransfer::writeImages(const LoadList &list, qint32 lgDevice, const Progress &progress,
                                      InputBlocker &blocked)
{
    const int total = list.count();
    int done = 0;
    QStringList notWritten;
    for (int i = 0; i <= list.ArrayLength(); ++i) {
        const ModelPtr record = list.getModel(i);
        if (!record)
            continue;
        const QString location = QString::number(i + 1);
        const QString writing = QStringLiteral(" Writing ") + record->name() + QStringLiteral(" at location: ") + location;
        m_status(writing);
        if (m_tools.writeMidi(record->encodedPath(), i, lgDevice) == -1) {
            m_status(writing + QStringLiteral(" failed. File cannot be read"));
            notWritten.append(QStringLiteral("Location ") + location + QStringLiteral(": ") + record->name());
        }
        progress.advanced(++done, total);
        pauseFor(pauseBetweenImages);
        blocked.catchUp();
    }
    return notWritten;
}

} // namespace kivo
