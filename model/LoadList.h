#pragma once

#include "IPersistToFile.h"
#include "Model.h"

#include <QString>

#include <array>
#include <memory>

namespace kivo {

// A named load list of 12 locations, 0 to 11, each empty or holding a record.
// A record with an empty name counts as empty.
class LoadList {
public:
    static constexpr int locationCount = 12;

    LoadList();
    LoadList(const LoadList &) = delete;
    LoadList &operator=(const LoadList &) = delete;
    ~LoadList();

    // Takes the name when it passes the name rules (trimming the caller's variable)
    // and empties the list; a name that fails changes nothing.
    void init(QString &strName);
    void add(int intLoc, const ModelPtr &aModel);
    void remove(int intID);
    ModelPtr getModel(int intLoc) const;
    int ArrayLength() const noexcept { return locationCount - 1; }
    const QString &name() const noexcept { return m_name; }
    void setName(const QString &n) { m_name = n; }
    int CurrentLocation() const noexcept { return m_currentLocation; }
    // Exchanges pos1 with pos2, wrapping pos2 into 0 to 11 in the caller's variable.
    void swap(int pos1, int &pos2);
    int getCurrentEmpty() const;
    bool isLocationEmpty(int intIndex) const;
    int count() const;
    bool hasChanged() const noexcept { return m_changed; }

    IPersistToFile &persistent() noexcept;
    const IPersistToFile &persistent() const noexcept;

private:
    class Persistent;

    static bool isValidIndex(int intIndex) noexcept;
    static bool isOccupied(const ModelPtr &model) noexcept;
    void clearLocations();

    QString m_name;
    bool m_changed = true;
    int m_currentLocation = 0;
    std::array<ModelPtr, locationCount> m_locations;
    std::unique_ptr<Persistent> m_persistent;
};

using LoadListPtr = std::shared_ptr<LoadList>;

} // namespace kivo
