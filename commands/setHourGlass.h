#pragma once

#include <QtGlobal>

namespace kivo {

// Numbers of the program-wide mouse pointer shapes.
enum class PointerShape : qint16 { Default = 0, Hourglass = 11 };

// Changes the program-wide mouse pointer for the span of one operation. The shape
// in force before the first setPointer comes back when the object goes out of
// scope, also when the operation leaves by an exception.
class setHourGlass {
public:
    setHourGlass() = default;
    ~setHourGlass();
    setHourGlass(const setHourGlass &) = delete;
    setHourGlass &operator=(const setHourGlass &) = delete;

    void setPointer(PointerShape newPointer = PointerShape::Default);

private:
    void restore();

    // The pointer is an override on the application's cursor stack; this object
    // keeps at most one entry on it, so removing the entry brings back exactly
    // the shape from before.
    bool m_overriding = false;
};

} // namespace kivo
