#pragma once

#include "model/LoadList.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QWidget;

namespace kivo {

class InputBlocker;
class KivoTools;
class LoadLists;

// Writes the active load list to the unit, one sound image after the other, with the
// user's input held back meanwhile. It tells how it goes through the status report,
// and how far it is through the progress report, so that any control can show it.
class ListTransfer {
public:
    using StatusReport = std::function<void(const QString &)>;
    struct Progress {
        // Told as the writing starts, with done 0, and after each image, with the
        // images gone through and the number of images in the list.
        std::function<void(int done, int total)> advanced;
        // Told once the writing ends, whichever way.
        std::function<void()> ended;
    };

    ListTransfer(KivoTools &tools, const LoadLists &loadLists, StatusReport status);

    // Writes the sound images of the active list to the unit on device lgDevice, after
    // the reminder owned by mainForm; -1, no device chosen, sends nothing. whenWritten
    // runs once every image has been tried, while input is still held back; the
    // locations not written are then named in a message box.
    void send(qint32 lgDevice, QWidget *mainForm, const Progress &progress, const std::function<void()> &whenWritten);

private:
    bool confirmTransfer(QWidget *mainForm);
    bool canTransfer(qint32 lgDevice, QWidget *mainForm);
    // The locations not written, each as the user sees it, with its sound's name;
    // nothing when the binding or the port failed, which the status has said.
    std::optional<QStringList> writeActiveList(qint32 lgDevice, const Progress &progress,
                                               const std::function<void()> &whenWritten);
    QStringList writeImages(const LoadList &list, qint32 lgDevice, const Progress &progress, InputBlocker &blocked);

    KivoTools &m_tools;
    const LoadLists &m_loadLists;
    StatusReport m_status;
};

} // namespace kivo
