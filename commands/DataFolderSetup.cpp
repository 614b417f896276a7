#include "DataFolderSetup.h"

#include "commands/ApiGlobal.h"
#include "model/FileProxy.h"
#include "model/Global.h"
#include "platform/LineBreak.h"
#include "platform/ModalSeam.h"

#include <QDir>
#include <QFileInfo>

namespace kivo {

DataFolderSetup::DataFolderSetup()
    : m_documents(getPersonalFolder())
    , m_path(m_documents + pathSeparator() + QStringLiteral("My Kivo Rudovaz Files") + pathSeparator())
{
}

bool DataFolderSetup::initDataFolder()
{
    // A first start that could not store the folder (a full disk) leaves the settings
    // key empty: the next start sets it up again rather than refusing the folder.
    const bool settled = QFileInfo(m_path).isDir() && registryKeyState(RootKey::HKEY_CURRENT_USER) != KeyState::Empty
        ? acceptExisting()
        : create();
    if (!settled)
        return false;
    setAppPath(getRegistryValue(RootKey::HKEY_LOCAL_MACHINE, QStringLiteral("Path")));
    return true;
}

bool DataFolderSetup::acceptExisting()
{
    const QString stored = getRegistryValue(RootKey::HKEY_CURRENT_USER, QStringLiteral("Personal"));
    setDataPath(stored);
    return m_path.compare(stored, Qt::CaseInsensitive) == 0;
}

bool DataFolderSetup::create()
{
    // A new account may not have the documents folder that the desktop names yet.
    if (!m_documents.isEmpty() && !QFileInfo::exists(m_documents))
        QDir().mkpath(m_documents);
    ensureFolder(m_path);
    createRegistryKey(RootKey::HKEY_CURRENT_USER);
    const QString result = setRegistryValue(RootKey::HKEY_CURRENT_USER, QStringLiteral("Personal"), m_path);
    const QString stored = getRegistryValue(RootKey::HKEY_CURRENT_USER, QStringLiteral("Personal"));
    setDataPath(stored);
    if (stored != m_path || result == MarkerFailure) {
        msgBox(QStringLiteral("Initializing Application Failed"));
        return false;
    }
    return true;
}

QString DataFolderSetup::workingDirectoryProblem()
{
    QString text = QStringLiteral("There was a problem setting the Application's working directory");
    if (registryKeyState(RootKey::HKEY_CURRENT_USER) == KeyState::Unreadable) {
        text += lineBreak()
            + QStringLiteral("The settings file \"%1\" cannot be read. Mend it, or empty it to start with new "
                             "settings, then start Kivo Rudovaz again.")
                  .arg(registryKeyLocation(RootKey::HKEY_CURRENT_USER));
    }
    return text;
}

} // namespace kivo
