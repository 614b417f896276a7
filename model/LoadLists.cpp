#include "LoadLists.h"

#include "DataFileFormat.h"
#include "Factory.h"
#include "FileProxy.h"
#include "Global.h"
#include "UnreadLines.h"
#include "UnreadLinesNotice.h"
#include "platform/LineBreak.h"
#include "platform/ModalSeam.h"
#include "platform/RuntimeError.h"

#include <algorithm>

namespace kivo {

namespace {

QString listOfLoadListsFile()
{
    return dataPath() + QStringLiteral("ListOfLL.kvl");
}

} // namespace

QString LoadLists::keyOf(const QString &name)
{
    return name.toCaseFolded();
}

void LoadLists::addLoadList(const LoadListPtr &l)
{
    if (!l)
        return;
    const QString key = keyOf(l->name());
    if (m_byKey.contains(key)) {
        msgBox(QStringLiteral("Load List: ") + l->name() + QStringLiteral(" already exist!"), Buttons::Ok,
               Icon::None, QStringLiteral("Cannot Insert Load List"));
        return;
    }
    m_byKey.insert(key, Keyed{l->name(), l});
    m_lists.push_back(l);
}

bool LoadLists::saveAll()
{
    const UnreadLinesNotice notice;
    bool failed = false;
    for (const auto &list : m_lists)
        failed = saveLoadList(*list) || failed;
    return saveListOfLoadLists(*this) || failed;
}

bool LoadLists::hasUnsavedChanges() const
{
    return std::any_of(m_lists.cbegin(), m_lists.cend(),
                       [](const LoadListPtr &list) { return differsFromFile(list->persistent()); });
}

bool LoadLists::saveLoadList(const LoadList &l, const QString &strNewName)
{
    return saveToFile(l.persistent(), strNewName);
}

void LoadLists::remove(const QString &strName)
{
    const auto found = m_byKey.constFind(keyOf(strName));
    if (found == m_byKey.cend())
        return;
    const Keyed removed = found.value();
    m_byKey.erase(found);
    m_lists.erase(std::find(m_lists.begin(), m_lists.end(), removed.list));
    deleteLoadListFile(removed.name);
    m_active = m_lists.empty() ? nullptr : m_lists.back();
}

bool LoadLists::rename(const QString &strOldName, const QString &strNewName)
{
    const auto found = m_byKey.constFind(keyOf(strOldName));
    if (found == m_byKey.cend())
        return true;
    const Keyed old = found.value();
    const UnreadLinesNotice notice;
    const auto position = static_cast<std::size_t>(std::find(m_lists.begin(), m_lists.end(), old.list) - m_lists.begin());
    if (saveLoadList(*old.list, strNewName))
        return true;
    // A new name that differs only in case may name the old file itself.
    const bool oneFile = isSameLoadListFile(old.name, strNewName);
    rekey(old.name, strNewName, m_lists.size() - 1);
    if (saveListOfLoadLists(*this)) {
        rekey(strNewName, old.name, position);
        if (!oneFile)
            deleteLoadListFile(strNewName);
        return true;
    }
    if (!oneFile)
        deleteLoadListFile(old.name);
    return false;
}

void LoadLists::rekey(const QString &oldName, const QString &newName, std::size_t position)
{
    const LoadListPtr list = m_byKey.take(keyOf(oldName)).list;
    m_lists.erase(std::find(m_lists.begin(), m_lists.end(), list));
    list->setName(newName);
    m_lists.insert(m_lists.begin() + static_cast<std::ptrdiff_t>(position), list);
    m_byKey.insert(keyOf(newName), Keyed{newName, list});
}

LoadListPtr LoadLists::getLoadList(const QString &strName) const
{
    return m_byKey.value(keyOf(strName)).list;
}

bool LoadLists::exportLoadList(const QString &strName, const QString &dirPath)
{
    const LoadList &active = requireActive();
    const QString folder = dirPath + strName;
    const FolderState state = ensureFolder(folder);
    const QString dest = folder + pathSeparator();
    return writePackage(active.persistent(), dest, exportFileName(strName), state == FolderState::Created);
}

QString LoadLists::exportFileName(const QString &strName)
{
    return strName + QStringLiteral(".kxf");
}

void LoadLists::importLoadList(const QString &strFile)
{
    loadFromFile(requireActive().persistent(), strFile);
}

void LoadLists::fillLoadLists()
{
    for (const auto &list : m_lists)
        loadFromFile(list->persistent(), QString());
}

void LoadLists::copyInto(const LoadList &source, LoadList &target) const
{
    for (int i = 0; i <= source.ArrayLength(); ++i) {
        const ModelPtr model = source.getModel(i);
        target.add(i, model ? newModel(model->tag(), model->name(), model->path(), model->pathBytes()) : nullptr);
    }
}

QString LoadLists::toString() const
{
    QString text;
    for (const auto &list : m_lists)
        text += list->name() + lineBreak();
    return text;
}

LoadList &LoadLists::requireActive() const
{
    if (!m_active)
        throw RuntimeError(ErrorNumber::Other, QStringLiteral("There is no active Load List"));
    return *m_active;
}

bool saveListOfLoadLists(const LoadLists &lists)
{
    return writeFile(lists.toString(), listOfLoadListsFile());
}

void loadListOfLoadLists(LoadLists &lists)
{
    const QString file = listOfLoadListsFile();
    if (fileNotExist(file))
        return;
    const QString text = readFile(file, 0);
    bool passedOver = false;
    for (const QStringView piece : splitLines(text)) {
        QString name = piece.toString();
        const LoadListPtr list = newLoadList(name);
        // A name that the name rules refuse would give a list without a name and
        // without a file of its own.
        if (list->name().isEmpty()) {
            passedOver = passedOver || !isBlank(piece);
            continue;
        }
        // A list whose file has gone holds nothing more than its name.
        if (fileNotExist(dataFile(piece.toString())))
            continue;
        const int before = lists.getCount();
        lists.addLoadList(list);
        passedOver = passedOver || lists.getCount() == before;
    }
    noteUnreadLines(file, passedOver);
}

} // namespace kivo
