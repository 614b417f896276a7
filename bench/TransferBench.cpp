#include "commands/Glue.h"
#include "model/Global.h"
#include "model/Library.h"
#include "model/LoadLists.h"
#include "platform/KivoTools.h"
#include "platform/ModalSeam.h"

#include "JackServer.h"
#include "SmokeRun.h"
#include "UnitSimulator.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProgressBar>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

using namespace kivo;
using namespace std::chrono_literals;

namespace {

// Each image is 28 messages, each 38.08 ms on a 31,250-baud cable and a 50 ms pause,
// with 100 ms after each image.
constexpr double mandatedImageMs = 28 * 88.08;

double msBetween(std::chrono::steady_clock::time_point from, std::chrono::steady_clock::time_point to)
{
    return std::chrono::duration<double, std::milli>(to - from).count();
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Answers the reminder before each transfer with OK.
class PressOk final : public ModalSeam {
public:
    Answer messageBox(const MessageRequest &request) override
    {
        std::fprintf(stderr, "message: %s\n", qPrintable(request.text));
        return Answer::Ok;
    }
    int execDialog(QDialog &dialog) override
    {
        if (auto *ok = dialog.findChild<QAbstractButton *>(QStringLiteral("cmdOK")))
            ok->click();
        return dialog.result();
    }
};

QString soundPath(const QTemporaryDir &dir, int location)
{
    return QDir::toNativeSeparators(dir.filePath(QStringLiteral("s%1.tvs").arg(location)));
}

void writeSoundFiles(const QTemporaryDir &dir, Glue &glue, int images)
{
    glue.createLL(QStringLiteral("Bench"));
    for (int location = 0; location < images; ++location) {
        const QString name = QStringLiteral("s%1").arg(location);
        const QString path = soundPath(dir, location);
        QFile file(path);
        const QByteArray content = QByteArray::fromHex("00000010 4B49564F 00000101")
            + QByteArray(4 + 4 + test::UnitSimulator::imageSize, static_cast<char>(location));
        if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
            qFatal("cannot write %s", qPrintable(path));
        glue.addToLibrary(location, name, path);
        glue.addToLL(name, location);
    }
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir dir;
    // The benchmark's settings and data stay in its own folder.
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.filePath(QStringLiteral("config"))));
    QApplication app(argc, argv);
    QDir(dir.path()).mkpath(QStringLiteral("data"));
    setDataPath(QDir::toNativeSeparators(dir.filePath(QStringLiteral("data"))) + QDir::separator());

    test::JackServer server;
    if (!server.isReady())
        qFatal("%s", qPrintable(server.failure()));
    test::UnitSimulator unit(server.name(), QStringLiteral("unit"));
    if (!unit.isReady())
        qFatal("%s", qPrintable(unit.failure()));

    PressOk seam;
    ModalSeam::install(&seam);
    Library library;
    LoadLists lists;
    Glue glue(library, lists);
    // A smoke run sends a list of one image, once.
    const bool smoke = bench::smokeRun();
    const int images = smoke ? 1 : 12;
    const int runs = smoke ? 1 : 3;
    const double mandatedMs = images * (mandatedImageMs + 100.0);
    writeSoundFiles(dir, glue, images);
    QProgressBar bar;
    bar.setRange(0, 120);

    // A message that does not arrive fails the benchmark, as it fails a transfer.
    bool failed = false;
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        const std::size_t before = unit.messages().size();
        QElapsedTimer timer;
        timer.start();
        glue.sendBlock(0, bar);
        times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
        const std::size_t expected = static_cast<std::size_t>(images) * 28;
        if (!unit.waitForMessages(before + expected, 10s)) {
            std::fprintf(stderr, "run %d: only %zu of %zu messages arrived\n", run + 1, unit.messages().size() - before,
                         expected);
            failed = true;
        }
        std::printf("run %d: %.0f ms\n", run + 1, times.back());
    }
    ModalSeam::install(nullptr);
    const double transfer = median(times);
    std::printf("%d-image transfer: median %.0f ms of %d runs, mandated pacing %.0f ms, ratio %.4f (goal under 1.02)\n",
                images, transfer, runs, mandatedMs, transfer / mandatedMs);

    // Where an image's time beyond its pacing goes: opening the port until the
    // first message arrives, and after the last one until the call returns.
    KivoTools tools;
    std::vector<double> leads;
    std::vector<double> tails;
    std::vector<double> overheads;
    for (int location = 0; location < images; ++location) {
        const std::size_t before = unit.messages().size();
        const auto called = std::chrono::steady_clock::now();
        const std::int32_t result = tools.writeMidi(QFile::encodeName(soundPath(dir, location)), location, 0);
        const auto returned = std::chrono::steady_clock::now();
        if (result != 0 || !unit.waitForMessages(before + 28, 10s)) {
            std::fprintf(stderr, "image %d: writeMidi gave %d, %zu of 28 messages arrived\n", location, result,
                         unit.messages().size() - before);
            failed = true;
            continue;
        }
        leads.push_back(msBetween(called, unit.messages()[before].arrival));
        tails.push_back(msBetween(unit.messages()[before + 27].arrival, returned));
        overheads.push_back(msBetween(called, returned) - mandatedImageMs);
        // As between the images of a transfer.
        std::this_thread::sleep_for(100ms);
    }
    if (!overheads.empty()) {
        std::printf("one image: median of %zu, %.1f ms beyond its pacing of %.0f ms; first message %.1f ms after the "
                    "call, return %.1f ms after the last message (of which 88.1 ms its wire time and pause)\n",
                    overheads.size(), median(overheads), mandatedImageMs, median(leads), median(tails));
    }
    return failed ? 1 : 0;
}
