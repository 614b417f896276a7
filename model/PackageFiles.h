#pragma once

#include "Model.h"

#include <QByteArray>
#include <QString>

#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

class QTemporaryFile;

namespace kivo {

// The files of an export package, each written beside its place first, so that the
// package keeps what it held until all of them are written. A file that takes the
// place of an older one keeps that one aside until every file has its place: a
// failure on the way puts each older file back and removes the new ones.
class PackageFiles {
public:
    explicit PackageFiles(QString folder);
    PackageFiles(const PackageFiles &) = delete;
    PackageFiles &operator=(const PackageFiles &) = delete;
    ~PackageFiles();

    // False when the file could not be written; a file that already holds the bytes
    // is left alone.
    bool stage(const QByteArray &name, const QByteArray &bytes);
    bool stageCopy(const Model &record, const QByteArray &name);
    // Puts every staged file in its place; false when one could not take it.
    bool commit();
    // Discards the files not committed, puts back the files that commit() replaced
    // and removes those that it put where no file was before.
    void takeBack();

private:
    struct Staged {
        std::filesystem::path written;
        std::filesystem::path target;
    };
    struct Placed {
        std::filesystem::path target;
        // Where the file that it replaced is kept until the package is whole.
        std::optional<std::filesystem::path> earlier;
    };

    static void removeQuietly(const std::filesystem::path &file);
    // A new empty file of a name of its own in the package's folder, removed again
    // with this object when it is still there.
    std::optional<std::filesystem::path> temporaryFile(std::unique_ptr<QTemporaryFile> &file);
    std::optional<std::filesystem::path> writeTemporary(const QByteArray &bytes);
    // A second name for the file, or failing that a copy of it; none when neither
    // can be made.
    std::optional<std::filesystem::path> keepAside(const std::filesystem::path &file);
    bool place(const Staged &staged);

    QString m_folder;
    std::vector<Staged> m_staged;
    std::vector<Placed> m_placed;
    std::vector<std::filesystem::path> m_temporary;
};

} // namespace kivo
