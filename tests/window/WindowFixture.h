#pragma once

#include "window/frmKivo.h"

#include "model/Library.h"
#include "model/LoadLists.h"

#include "FormControls.h"
#include "RecordingPauses.h"
#include "ScriptedModalSeam.h"
#include "TemporarySettings.h"

#include <QByteArray>
#include <QDialog>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>
#include <optional>
#include <utility>

namespace kivo::test {

// How the per-user "Personal" value stands before the start-up.
enum class Personal { NoKey, NoValue, Exact, OtherCase, Elsewhere, Unwritable };

// Presses a button of a dialog that the seam shows instead of the user, and
// records what the dialog asked.
struct DialogSeen {
    QString title;
    QString defaultAnswer;
    QString message;
    QWidget *owner = nullptr;
};

ScriptedModalSeam::DialogScript press(const QString &button, DialogSeen *seen = nullptr);

// What the window asks at exit when the load lists have changed since they were saved.
inline const QString saveQuestion = QStringLiteral("Save the changes to your Load Lists before you exit?");

// A main window started over temporary folders and settings, with the user's
// answers scripted.
class WindowFixture {
public:
    virtual ~WindowFixture() = default;

protected:
    void setUpOnce();
    void setUp();
    void tearDown();

    // The start-up's world: the user's documents folder, the installation with the
    // files its checks look for, and the settings that name them.
    QString documentsFolder() const { return m_root.filePath(QStringLiteral("Documents")); }
    QString dataFolder() const { return documentsFolder() + QStringLiteral("/My Kivo Rudovaz Files/"); }
    QString installFolder() const { return m_root.filePath(QStringLiteral("install/share")) + QLatin1Char('/'); }
    QString systemFolder() const { return m_root.filePath(QStringLiteral("install/lib")) + QLatin1Char('/'); }
    QString soundPath(const QString &name) const
    {
        return m_root.filePath(QStringLiteral("sounds/")) + name + QStringLiteral(".tvs");
    }

    void setPersonal(Personal personal);
    void writeInstallation(bool withPath = true);
    // Library entries with sound files, and load lists of the given entries by location.
    void prepareDataFolder(const QStringList &library, const QList<std::pair<QString, QStringList>> &lists);
    // Creates the window over the fixture's library and lists and runs its start-up;
    // the devices come first in the device list, before the machine's own.
    bool start(const QStringList &devices = {}, const QString &commandLine = {});

    template <typename Control> Control &control(const QString &name)
    {
        return test::control<Control>(*m_window, name);
    }
    QString storedUserValue(const QString &name) const
    {
        return TemporarySettings::stored(m_settings->userFile(), name).toString();
    }
    void activate();
    // Triggers a menu item or clicks a picture button.
    void invoke(const QString &name);
    // The bytes of a sound image file that prepareDataFolder writes.
    virtual QByteArray soundContent(const QString &name) const;
    // Writes a sound image file at the path, and its folder; false when that fails.
    bool writeSoundFile(const QString &path) const;

    QTemporaryDir m_root;
    std::optional<TemporarySettings> m_settings;
    qsizetype m_realDevices = 0;
    std::unique_ptr<ScriptedModalSeam> m_seam;
    // The splash and the transfer pause on purpose; the tests only note it.
    std::unique_ptr<RecordingPauses> m_pauses;
    std::unique_ptr<Library> m_library;
    std::unique_ptr<LoadLists> m_lists;
    std::unique_ptr<frmKivo> m_window;
};

} // namespace kivo::test
