#pragma once

#include <QString>

#include <optional>

namespace kivo {

// Tells the user which files whose reading passed over lines were copied aside before
// they changed, or could not be. While one of these lives, the news is held back; when
// the outermost goes, one box names every such file, so that a save over many of them
// shows one box and not one for each.
class UnreadLinesNotice {
public:
    UnreadLinesNotice();
    ~UnreadLinesNotice();
    UnreadLinesNotice(const UnreadLinesNotice &) = delete;
    UnreadLinesNotice &operator=(const UnreadLinesNotice &) = delete;

    // The file was copied to copy (notCopied empty), or could not be, for that reason.
    // Shown at once when no notice lives.
    static void tell(const QString &file, const QString &copy, const std::optional<QString> &notCopied);
};

} // namespace kivo
