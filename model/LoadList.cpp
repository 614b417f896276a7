#include "LoadList.h"

#include "Global.h"
#include "platform/ModalSeam.h"

#include <algorithm>

namespace kivo {

// The file layer sees a list as 12 positions, whatever its count of records.
class LoadList::Persistent final : public IPersistToFile {
public:
    explicit Persistent(LoadList &list) : m_list(list) {}

    QString name() const override { return m_list.name(); }
    bool hasChanged() const override { return m_list.hasChanged(); }
    ModelPtr getModel(int location) const override { return m_list.getModel(location); }
    int count() const override { return locationCount; }
    void addModel(int intID, const ModelPtr &aModel) override { m_list.add(intID, aModel); }
    void clear() override { m_list.clearLocations(); }

private:
    LoadList &m_list;
};

LoadList::LoadList()
    : m_persistent(std::make_unique<Persistent>(*this))
{
}

LoadList::~LoadList() = default;

void LoadList::init(QString &strName)
{
    if (!isValidName(strName))
        return;
    m_name = strName;
    m_currentLocation = 0;
    m_changed = false;
    clearLocations();
}

void LoadList::add(int intLoc, const ModelPtr &aModel)
{
    if (!isValidIndex(intLoc)) {
        msgBox(QStringLiteral("Cannot add Sound Image at this index"));
        return;
    }
    m_locations[static_cast<std::size_t>(intLoc)] = aModel;
    m_changed = true;
    m_currentLocation = (intLoc + 1) % locationCount;
}

void LoadList::remove(int intID)
{
    if (!isValidIndex(intID))
        return;
    m_locations[static_cast<std::size_t>(intID)].reset();
    m_changed = true;
    m_currentLocation = intID;
}

ModelPtr LoadList::getModel(int intLoc) const
{
    if (!isValidIndex(intLoc))
        return nullptr;
    const ModelPtr &model = m_locations[static_cast<std::size_t>(intLoc)];
    return isOccupied(model) ? model : nullptr;
}

void LoadList::swap(int pos1, int &pos2)
{
    if (!isValidIndex(pos1))
        return;
    if (pos2 > ArrayLength())
        pos2 = 0;
    else if (pos2 < 0)
        pos2 = ArrayLength();
    std::swap(m_locations[static_cast<std::size_t>(pos1)], m_locations[static_cast<std::size_t>(pos2)]);
    m_currentLocation = pos2;
}

int LoadList::getCurrentEmpty() const
{
    for (int step = 0; step <= locationCount; ++step) {
        const int location = (m_currentLocation + step) % locationCount;
        if (isLocationEmpty(location))
            return location;
    }
    return -1;
}

bool LoadList::isLocationEmpty(int intIndex) const
{
    return isValidIndex(intIndex) && !isOccupied(m_locations[static_cast<std::size_t>(intIndex)]);
}

int LoadList::count() const
{
    return static_cast<int>(std::count_if(m_locations.begin(), m_locations.end(), isOccupied));
}

IPersistToFile &LoadList::persistent() noexcept
{
    return *m_persistent;
}

const IPersistToFile &LoadList::persistent() const noexcept
{
    return *m_persistent;
}

bool LoadList::isValidIndex(int intIndex) noexcept
{
    return intIndex >= 0 && intIndex < locationCount;
}

bool LoadList::isOccupied(const ModelPtr &model) noexcept
{
    return model != nullptr && !model->name().isEmpty();
}

void LoadList::clearLocations()
{
    for (auto &location : m_locations)
        location.reset();
}

} // namespace kivo
