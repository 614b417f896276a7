// Reads each input as every kind of file that the data-file reader takes: the
// library file, a load list's file, the list of load lists ("ListOfLL.kvl") and
// an export file. Whatever it reads is saved and read again, and the second
// reading must give the same records as the first.

#include "model/Factory.h"
#include "model/FileProxy.h"
#include "model/Global.h"
#include "model/Library.h"
#include "model/LoadList.h"
#include "model/LoadLists.h"
#include "platform/ModalSeam.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <QtGlobal>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>

using namespace kivo;

namespace {

// Qt warns about every file name that holds a NUL character; that noise would bury
// libFuzzer's own report. Only what ends the program is shown.
void quietMessages(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}

// Stands in for the user at the message boxes that unreadable entries bring up.
class OkSeam final : public ModalSeam {
public:
    Answer messageBox(const MessageRequest &) override { return Answer::Ok; }
    int execDialog(QDialog &) override { return 0; }
};

// A data folder and an export folder, emptied before each input.
class Workspace {
public:
    Workspace()
    {
        if (!m_root.isValid())
            std::abort();
        qInstallMessageHandler(quietMessages);
        ModalSeam::install(&m_seam);
        setDataPath(dataFolder());
    }
    Workspace(const Workspace &) = delete;
    Workspace &operator=(const Workspace &) = delete;
    ~Workspace() { ModalSeam::install(nullptr); }

    // Qt lists no file whose name is not in the file system's encoding, and sound
    // files may be named so: the folders go by their bytes.
    void reset() const
    {
        for (const QString &folder : {dataFolder(), exportFolder()}) {
            std::error_code error;
            std::filesystem::remove_all(std::filesystem::path(QFile::encodeName(folder).toStdString()), error);
            if (!QDir().mkpath(folder))
                std::abort();
        }
    }
    QString dataFolder() const { return m_root.path() + QStringLiteral("/data/"); }
    QString exportFolder() const { return m_root.path() + QStringLiteral("/export/"); }

private:
    QTemporaryDir m_root;
    OkSeam m_seam;
};

Workspace &workspace()
{
    static Workspace instance;
    return instance;
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        std::abort();
}

// Creates the file when it can be made; names that no file can have are left alone.
void touch(const QString &path)
{
    QFile file(path);
    (void)file.open(QIODevice::WriteOnly | QIODevice::Append);
}

// The same for the file of a record, which its path's bytes may name where no text can.
void touch(const Model &record)
{
    std::ofstream file(std::filesystem::path(record.encodedPath().toStdString()), std::ios::app);
}

bool isRegularFile(const Model &record)
{
    std::error_code error;
    return std::filesystem::is_regular_file(std::filesystem::path(record.encodedPath().toStdString()), error);
}

// One line per record: location, tag, name and path.
QStringList records(const IPersistToFile &obj)
{
    QStringList lines;
    for (int i = 0; i < obj.count(); ++i) {
        if (const ModelPtr model = obj.getModel(i))
            lines.append(QString::number(i) + u'|' + QString::number(model->tag()) + u'|' + model->name() + u'|'
                         + model->path());
    }
    return lines;
}

void expectSame(const char *file, const QStringList &first, const QStringList &second)
{
    if (first == second)
        return;
    std::fprintf(stderr, "%s: the second reading differs\nfirst:\n%s\nsecond:\n%s\n", file,
                 first.join(u'\n').toUtf8().constData(), second.join(u'\n').toUtf8().constData());
    std::abort();
}

void libraryFile(const QByteArray &input)
{
    const QString file = dataPath() + libraryFileBaseName() + QStringLiteral(".dat");
    writeBytes(file, input);
    Library first;
    loadFromFile(first.persistent(), QString());
    QFile::remove(file);
    if (first.save())
        std::abort();
    Library second;
    loadFromFile(second.persistent(), QString());
    expectSame("library file", records(first.persistent()), records(second.persistent()));
}

void loadListFile(const QByteArray &input)
{
    QString name = QStringLiteral("Live");
    writeBytes(dataPath() + name + QStringLiteral(".dat"), input);
    const LoadListPtr first = newLoadList(name);
    loadFromFile(first->persistent(), QString());
    QFile::remove(dataPath() + name + QStringLiteral(".dat"));
    if (saveToFile(first->persistent(), QString()))
        std::abort();
    const LoadListPtr second = newLoadList(name);
    loadFromFile(second->persistent(), QString());
    expectSame("load list file", records(first->persistent()), records(second->persistent()));
}

QStringList listNames(const LoadLists &lists)
{
    QStringList names;
    for (const LoadListPtr &list : lists)
        names.append(list->name());
    return names;
}

void listOfLoadLists(const QByteArray &input)
{
    const QString file = dataPath() + QStringLiteral("ListOfLL.kvl");
    writeBytes(file, input);
    // A name is read only when its list's file is there: give every good name one,
    // under the name as written and as trimmed.
    const QString text = readFile(file, 0);
    for (const QStringView piece : splitLines(text)) {
        QString name = piece.toString();
        if (!isValidName(name))
            continue;
        touch(dataPath() + piece.toString() + QStringLiteral(".dat"));
        touch(dataPath() + name + QStringLiteral(".dat"));
    }
    LoadLists first;
    loadListOfLoadLists(first);
    QFile::remove(file);
    if (saveListOfLoadLists(first))
        std::abort();
    LoadLists second;
    loadListOfLoadLists(second);
    expectSame("list of load lists", listNames(first), listNames(second));
}

// An export names each record's file by its name alone, in the export's folder, and
// leaves out records whose file is not there.
QStringList exportedRecords(const IPersistToFile &obj, const QString &folder)
{
    QStringList lines;
    for (int i = 0; i < obj.count(); ++i) {
        const ModelPtr model = obj.getModel(i);
        if (model && isRegularFile(*model))
            lines.append(QString::number(i) + u'|' + QString::number(model->tag()) + u'|' + model->name() + u'|'
                         + folder + getFileName(model->path()));
    }
    return lines;
}

void exportFile(const QByteArray &input)
{
    const QString folder = workspace().exportFolder();
    writeBytes(folder + QStringLiteral("Gig.kxf"), input);
    QString name = QStringLiteral("Gig");
    const LoadListPtr first = newLoadList(name);
    loadFromFile(first->persistent(), folder + QStringLiteral("Gig.kxf"));
    // The import's account of the file names no fewer entries than the reading took.
    if (exportFileLines(folder + QStringLiteral("Gig.kxf")).entries < first->count())
        std::abort();
    // The sound files of the package: those named without a folder are there.
    for (int i = 0; i < first->persistent().count(); ++i) {
        const ModelPtr model = first->getModel(i);
        if (model && lastSeparatorIndex(model->path()) == folder.size() - 1)
            touch(*model);
    }
    if (writeExportFile(first->persistent(), folder + QStringLiteral("Again.kxf")))
        std::abort();
    const LoadListPtr second = newLoadList(name);
    loadFromFile(second->persistent(), folder + QStringLiteral("Again.kxf"));
    expectSame("export file", exportedRecords(first->persistent(), folder), records(second->persistent()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    workspace().reset();
    libraryFile(input);
    loadListFile(input);
    listOfLoadLists(input);
    exportFile(input);
    return 0;
}
