#pragma once

#include <QString>

namespace kivo {

// The start-up's settling of the data folder, "My Kivo Rudovaz Files" in the user's
// documents folder, with the per-user setting "Personal" that names it, and of the
// install folder that the machine-wide settings name.
class DataFolderSetup final {
public:
    DataFolderSetup();

    // True when the data folder and the program-wide paths are settled. False when
    // the start-up must stop; the caller then shows workingDirectoryProblem().
    bool initDataFolder();

    // The message that ends a start-up whose data folder is not settled. Settings that
    // cannot be read would refuse every start alike; the user is told where they are.
    static QString workingDirectoryProblem();

private:
    // The folder is there: the setting must name it, in any letter case.
    bool acceptExisting();
    // The folder is made and named in the settings, which must read back exactly.
    bool create();

    QString m_documents;
    QString m_path;
};

} // namespace kivo
