#include "WindowFixture.h"

#include "commands/ApiGlobal.h"
#include "model/Factory.h"
#include "model/Global.h"
#include "platform/MidiDevices.h"
#include "window/Installation.h"
#include "window/StandInFonts.h"

#include "CommonDialogsLibrary.h"
#include "ModalAnswerer.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;

namespace kivo::test {

ScriptedModalSeam::DialogScript press(const QString &button, DialogSeen *seen)
{
    return [button, seen](QDialog &dialog) {
        if (seen != nullptr) {
            seen->title = dialog.windowTitle();
            if (const auto *text = dialog.findChild<QLineEdit *>(u"txtText"_s))
                seen->defaultAnswer = text->text();
            if (const auto *label = dialog.findChild<QLabel *>(u"lblLabel1"_s))
                seen->message = label->text();
            seen->owner = dialog.parentWidget();
        }
        if (auto *pushButton = dialog.findChild<QPushButton *>(button))
            pushButton->click();
        return dialog.result();
    };
}

void WindowFixture::setUpOnce()
{
    QVERIFY(m_root.isValid());
    m_settings.emplace();
    QVERIFY(m_settings->isValid());
    qputenv("HOME", QFile::encodeName(m_root.path()));
    // The window is drawn in the fonts the program draws it in, whatever the
    // machine's font configuration knows.
    useStandInFonts(standInFontFolder());
    // The devices that the machine has are listed after the ones a test puts first.
    m_realDevices = outputDeviceNames().size();
}

void WindowFixture::setUp()
{
    m_settings->clear();
    QFile userDirs(m_settings->userFolder() + u"/user-dirs.dirs"_s);
    QVERIFY(userDirs.open(QIODevice::WriteOnly));
    userDirs.write("XDG_DOCUMENTS_DIR=\"" + QFile::encodeName(documentsFolder()) + "\"\n");
    userDirs.close();
    QDir(documentsFolder()).removeRecursively();
    QVERIFY(QDir().mkpath(documentsFolder()));
    QDir(m_root.filePath(u"install"_s)).removeRecursively();
    QVERIFY(QDir().mkpath(installFolder()));
    QVERIFY(QDir().mkpath(systemFolder()));
    QVERIFY(QDir().mkpath(m_root.filePath(u"sounds"_s)));
    writeInstallation();

    m_seam = std::make_unique<ScriptedModalSeam>();
    m_pauses = std::make_unique<RecordingPauses>();
    m_library = std::make_unique<Library>();
    m_lists = std::make_unique<LoadLists>();
}

void WindowFixture::tearDown()
{
    m_window.reset();
    QVERIFY2(test::visibleTopLevels().isEmpty(), "a window outlived its test");
    QCOMPARE(m_seam->unexpected(), 0);
    m_seam.reset();
    m_pauses.reset();
    m_lists.reset();
    m_library.reset();
}

void WindowFixture::writeInstallation(bool withPath)
{
    const QString file = m_settings->systemFile(0);
    if (withPath)
        TemporarySettings::store(file, u"Path"_s, installFolder());
    TemporarySettings::store(file, u"System"_s, systemFolder());
    for (const QString &name : {installFolder() + u"kivoHelp.hlp"_s, installFolder() + u"splash.png"_s,
                                systemFolder() + kivotoolsFileName()}) {
        QFile installed(name);
        QVERIFY(installed.open(QIODevice::WriteOnly));
        installed.write("<html><body><h1>Kivo Rudovaz help contents</h1></body></html>\n");
    }
    // The start-up loads the dialogs from there.
    const QString dialogs = systemFolder() + commonDialogFileName();
    QFile::remove(dialogs);
    QVERIFY(QFile::copy(commonDialogsLibrary(), dialogs));
}

void WindowFixture::setPersonal(Personal personal)
{
    const QString file = m_settings->userFile();
    switch (personal) {
    case Personal::NoKey:
        break;
    case Personal::NoValue:
        TemporarySettings::store(file, u"Show Warning"_s, u"0"_s);
        break;
    case Personal::Exact:
        TemporarySettings::store(file, u"Personal"_s, dataFolder());
        break;
    case Personal::OtherCase:
        TemporarySettings::store(file, u"Personal"_s, dataFolder().toUpper());
        break;
    case Personal::Elsewhere:
        TemporarySettings::store(file, u"Personal"_s, documentsFolder() + u"/Other/"_s);
        break;
    case Personal::Unwritable:
        // A folder where the settings file belongs cannot be written as one.
        QVERIFY(QDir().mkpath(file));
        break;
    }
}

void WindowFixture::prepareDataFolder(const QStringList &library, const QList<std::pair<QString, QStringList>> &lists)
{
    QVERIFY(QDir().mkpath(dataFolder()));
    setPersonal(Personal::Exact);
    const QString previous = dataPath();
    setDataPath(dataFolder());
    Library files;
    int tag = 0;
    for (const QString &name : library) {
        QFile sound(soundPath(name));
        QVERIFY(sound.open(QIODevice::WriteOnly));
        sound.write(soundContent(name));
        files.add(newModel(++tag, name, soundPath(name)));
    }
    QVERIFY(!files.save());
    LoadLists saved;
    for (const auto &[listName, locations] : lists) {
        QString name = listName;
        const LoadListPtr list = newLoadList(name);
        for (int location = 0; location < locations.size(); ++location) {
            if (!locations[location].isEmpty())
                list->add(location, files.getModel(locations[location]));
        }
        saved.addLoadList(list);
    }
    QVERIFY(!saved.saveAll());
    setDataPath(previous);
}

bool WindowFixture::start(const QStringList &devices, const QString &commandLine)
{
    m_window = std::make_unique<frmKivo>(*m_library, *m_lists);
    m_window->setCommandLine(commandLine);
    auto &deviceBox = control<QComboBox>(u"cboDevice"_s);
    deviceBox.addItems(devices);
    deviceBox.setCurrentIndex(-1);
    return m_window->Form_Load();
}

void WindowFixture::activate()
{
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

void WindowFixture::invoke(const QString &name)
{
    if (auto *action = m_window->findChild<QAction *>(name)) {
        action->trigger();
        return;
    }
    auto &box = control<QLabel>(name);
    QTest::mouseClick(&box, Qt::LeftButton, Qt::NoModifier, QPoint(box.width() / 2, box.height() / 2));
}

QByteArray WindowFixture::soundContent(const QString &) const
{
    return QByteArray(64, 'x');
}

bool WindowFixture::writeSoundFile(const QString &path) const
{
    const QFileInfo info(path);
    const QByteArray content = soundContent(info.completeBaseName());
    QFile sound(path);
    return QDir().mkpath(info.path()) && sound.open(QIODevice::WriteOnly) && sound.write(content) == content.size();
}

} // namespace kivo::test
