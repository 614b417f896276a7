#pragma once

#include "IPersistToFile.h"
#include "Model.h"

#include <QHash>
#include <QString>

#include <memory>
#include <vector>

namespace kivo {

// All sound image records of the user, keyed by name without regard to case, in the
// order in which they were added. Saves itself to the library file.
class Library {
public:
    using const_iterator = std::vector<ModelPtr>::const_iterator;

    Library();
    Library(const Library &) = delete;
    Library &operator=(const Library &) = delete;
    ~Library();

    // Refuses, with a message, a name already present in any case and a name or path
    // that the library file could not hold.
    void add(const ModelPtr &m);
    void removeItem(const QString &strKey);
    int getCount() const noexcept { return static_cast<int>(m_records.size()); }
    // Writes the library file when the records changed since it was read or saved;
    // true when it could not be written, which the user has been told.
    [[nodiscard]] bool save();
    // Throw RuntimeError when the name is absent or the 1-based position out of range.
    ModelPtr getModel(const QString &key) const;
    ModelPtr getModel(int position) const;
    // The name of the first record with this tag, "" when none has it.
    QString tagExist(qint32 tagValue) const;
    // Compares names exactly, case included, unlike the keys.
    bool nameExist(const QString &strName) const;
    bool hasChanged() const noexcept { return m_changed; }

    // The records in order, to take a change back with restore().
    const std::vector<ModelPtr> &records() const noexcept { return m_records; }
    // Holds these records again, in this order: records() as it was before a change.
    // The changed flag stays, so that the next save writes the file.
    void restore(std::vector<ModelPtr> records);

    const_iterator begin() const noexcept { return m_records.cbegin(); }
    const_iterator end() const noexcept { return m_records.cend(); }

    IPersistToFile &persistent() noexcept;
    const IPersistToFile &persistent() const noexcept;

private:
    class Persistent;

    static QString keyOf(const QString &name);
    void clear();

    std::vector<ModelPtr> m_records;
    QHash<QString, ModelPtr> m_byKey;
    bool m_changed = false;
    std::unique_ptr<Persistent> m_persistent;
};

} // namespace kivo
