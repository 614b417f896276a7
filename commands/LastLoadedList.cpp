#include "LastLoadedList.h"

#include "model/Factory.h"
#include "model/LoadLists.h"

#include <memory>

namespace kivo {

LastLoadedList::LastLoadedList(LoadLists &loadLists)
    : m_loadLists(loadLists)
{
}

QString LastLoadedList::name()
{
    return QStringLiteral("Last Loaded");
}

bool LastLoadedList::isActive() const
{
    const LoadListPtr active = m_loadLists.activeLoadList();
    return active && active->name() == name();
}

LoadListPtr LastLoadedList::untitledCopy() const
{
    QString copyName;
    for (int n = 1;; ++n) {
        copyName = QStringLiteral("Untitled%1").arg(n);
        if (!m_loadLists.getLoadList(copyName))
            break;
    }
    auto copy = std::make_shared<LoadList>();
    copy->setName(copyName);
    m_loadLists.copyInto(*m_loadLists.activeLoadList(), *copy);
    return copy;
}

bool LastLoadedList::record()
{
    LoadListPtr lastLoaded = m_loadLists.getLoadList(name());
    if (!lastLoaded) {
        QString newName = name();
        lastLoaded = newLoadList(newName);
        m_loadLists.addLoadList(lastLoaded);
    }
    m_loadLists.copyInto(*m_loadLists.activeLoadList(), *lastLoaded);
    return m_loadLists.saveAll();
}

} // namespace kivo
