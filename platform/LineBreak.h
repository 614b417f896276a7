#pragma once

#include <QByteArrayView>
#include <QString>

namespace kivo {

// The platform's line break: between the lines of a message, and at the end of each
// line of a data file.
inline QString lineBreak()
{
    return QStringLiteral("\r\n");
}

// The same line break as the bytes that end each line of a data file.
inline constexpr QByteArrayView lineBreakBytes("\r\n");

} // namespace kivo
