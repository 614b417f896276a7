#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Data files whose reading passed over lines that hold something the program cannot
// keep: a line without its four fields, a number out of range, a location beyond the
// twelve, a name taken twice, binary junk. Writing such a file again would drop those
// lines, so the file as it was is first copied beside it, once, and the user is told.
namespace kivo {

// Records what the latest reading of the file found, and, when it passed over lines,
// what the unit read from it would write right after the reading.
void noteUnreadLines(const QString &file, bool passedOverLines, const QByteArray &contentAsRead = {});
// What the unit read from the file would have written right after the reading, while
// the file holds lines that the reading passed over; nullopt for any other file. The
// unit holds no edit when it would write just that.
std::optional<QByteArray> contentAsRead(const QString &file);
// To be called before the file is replaced or deleted. When its latest reading passed
// over lines, copies it to keptCopyName(file) and tells the user where. When the copy
// could not be made, the user is told so, the file must stay as it is, and the result
// is why, in the system's words; nullopt otherwise.
[[nodiscard]] std::optional<QString> keepUnreadLines(const QString &file);
// The name of the copy of the file: never one that the program reads as a data file.
// A copy kept earlier is not written over: the name then carries a number.
QString keptCopyName(const QString &file);

} // namespace kivo
