#pragma once

#include <QString>

// Data files whose reading passed over lines that hold something the program cannot
// keep: a line without its four fields, a number out of range, a location beyond the
// twelve, a name taken twice, binary junk. Writing such a file again would drop those
// lines, so the file as it was is first copied beside it, once, and the user is told.
namespace kivo {

// Records what the latest reading of the file found.
void noteUnreadLines(const QString &file, bool passedOverLines);
// To be called before the file is replaced or deleted. When its latest reading passed
// over lines, copies it to keptCopyName(file) and tells the user where; true when the
// copy could not be made, and then the file must stay as it is.
[[nodiscard]] bool keepUnreadLines(const QString &file);
// The name of the copy of the file: never one that the program reads as a data file.
// A copy kept earlier is not written over: the name then carries a number.
QString keptCopyName(const QString &file);

} // namespace kivo
