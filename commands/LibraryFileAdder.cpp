#include "LibraryFileAdder.h"

#include "commands/Glue.h"
#include "commands/dlgKivo.h"
#include "model/Global.h"
#include "platform/KivoTools.h"
#include "platform/LineBreak.h"
#include "platform/ModalSeam.h"
#include "platform/RuntimeError.h"

#include <QFile>
#include <QFileInfo>

#include <optional>
#include <utility>

namespace kivo {

namespace {

constexpr qint64 soundImageHeaderSize = 16;

// Why the path is no ordinary file whose header can be read; nothing when it is one.
std::optional<QString> whyNoSoundImage(const QString &strPath)
{
    const QFileInfo info(strPath);
    if (!info.exists()) {
        return info.isSymLink() ? QStringLiteral("The link leads to no file")
                                : QStringLiteral("The file does not exist");
    }
    if (info.isDir())
        return QStringLiteral("It is a folder, not a Sound Image file");
    // A named pipe would hold the window until another program opens it.
    if (!info.isFile())
        return QStringLiteral("It is not an ordinary file");
    QFile file(strPath);
    if (!file.open(QIODevice::ReadOnly))
        return file.errorString();
    const QByteArray header = file.read(soundImageHeaderSize);
    if (file.error() != QFileDevice::NoError)
        return file.errorString();
    if (header.isEmpty())
        return QStringLiteral("The file is empty");
    if (header.size() < soundImageHeaderSize) {
        return QStringLiteral("The file is too short for a Sound Image header (%1 of %2 bytes)")
            .arg(header.size())
            .arg(soundImageHeaderSize);
    }
    return std::nullopt;
}

// Only such a file is a sound image: the tag read from anything else is the tag
// reader's -1, which would pass for the tag of another entry.
void requireSoundImage(const QString &strPath)
{
    if (const std::optional<QString> reason = whyNoSoundImage(strPath))
        throw RuntimeError(ErrorNumber::PathFileAccess, QStringLiteral("Cannot add ") + strPath + lineBreak() + *reason);
}

} // namespace

LibraryFileAdder::LibraryFileAdder(Glue &glue, StatusReport status)
    : m_glue(glue)
    , m_status(std::move(status))
{
}

void LibraryFileAdder::processRawFile(const QStringList &strFiles)
{
    if (strFiles.isEmpty())
        return;
    if (strFiles.size() == 1) {
        sharedDialog().showAll(false);
        sendFileToLibrary(getProposedName(strFiles.front()), strFiles.front());
        return;
    }
    sharedDialog().showAll(true);
    const QString folder = stripTrailingSlash(strFiles.front());
    QStringList paths;
    for (qsizetype i = 1; i < strFiles.size(); ++i)
        paths.append(folder + pathSeparator() + strFiles.at(i));
    addEach(paths);
}

void LibraryFileAdder::addDroppedFiles(const QStringList &strPaths)
{
    sharedDialog().setStrAll(QString());
    sharedDialog().showAll(true);
    addEach(strPaths);
}

void LibraryFileAdder::addEach(const QStringList &strPaths)
{
    for (const QString &path : strPaths) {
        const QString name = getProposedName(path);
        const QString action = sharedDialog().strAll();
        if (action == OkAll) {
            sendFileHelper(name, path);
        } else if (action == CancelAll) {
            return;
        } else if (action.isEmpty()) {
            sendFileToLibrary(name, path);
        } else {
            msgBox(QStringLiteral("Logic error"));
        }
    }
}

void LibraryFileAdder::sendFileToLibrary(const QString &strName, const QString &strPath)
{
    // No name is asked for what cannot be added.
    try {
        requireSoundImage(strPath);
    } catch (const RuntimeError &error) {
        reportAddFailure(error);
        return;
    }
    const QString answer =
        askText(QStringLiteral("Adding Sound Image"), strName, QStringLiteral("Enter name for file: ") + strPath);
    if (!answer.isEmpty())
        sendFileHelper(answer, strPath);
    else
        m_status(QStringLiteral(" Sound Image file not added"));
}

void LibraryFileAdder::sendFileHelper(const QString &strName, const QString &strPath)
{
    try {
        // Checked again: the file may have changed while its name was asked.
        requireSoundImage(strPath);
        const qint32 tag = m_glue.kivoTools().readTag(strPath);
        m_glue.addToLibrary(tag, strName, strPath);
    } catch (const std::exception &error) {
        reportAddFailure(error);
    }
}

void LibraryFileAdder::reportAddFailure(const std::exception &error)
{
    // Reported here, so that a loop over several files goes on with the next.
    m_status(QStringLiteral(" Cannot add Sound Image file"));
    msgBox(describe(error));
}


} // namespace kivo
