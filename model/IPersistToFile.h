#pragma once

#include "Model.h"

#include <QString>

namespace kivo {

// What the file reader and writer, the export and the printing need of a unit that
// lives in a data file: a load list or the library. Positions run 0 to count() - 1;
// getModel answers nullptr for a position that holds nothing.
class IPersistToFile {
public:
    virtual ~IPersistToFile() = default;

    virtual QString name() const = 0;
    virtual bool hasChanged() const = 0;
    virtual ModelPtr getModel(int location) const = 0;
    virtual int count() const = 0;
    virtual void addModel(int intID, const ModelPtr &aModel) = 0;
    virtual void clear() = 0;
};

} // namespace kivo
