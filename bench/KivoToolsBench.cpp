#include "kivotools.h"

#include "SmokeRun.h"

#include "JackServer.h"
#include "UnitSimulator.h"

#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

using namespace std::chrono_literals;

namespace {

constexpr qint64 idFileSize = qint64{64} << 20;
// 28 messages, each 38.08 ms on a 31,250-baud cable and a 50 ms pause.
constexpr double mandatedWriteMs = 28 * (38.08 + 50.0);

struct Fixture {
    QTemporaryDir dir;
    QByteArray idFile;
    QByteArray soundFile;
    std::unique_ptr<kivo::test::JackServer> server;
    std::unique_ptr<kivo::test::UnitSimulator> unit;
};

Fixture &fixture()
{
    static Fixture f;
    return f;
}

QByteArray writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        qFatal("cannot write %s", qPrintable(path));
    return QFile::encodeName(path);
}

void setUp()
{
    Fixture &f = fixture();
    QByteArray content(idFileSize, '\0');
    QRandomGenerator random(1);
    random.fillRange(reinterpret_cast<quint32 *>(content.data()), content.size() / 4);
    f.idFile = writeFile(f.dir.filePath(QStringLiteral("large.bin")), content);
    f.soundFile = writeFile(f.dir.filePath(QStringLiteral("sound.tvs")),
                            QByteArray::fromHex("00000010 4B49564F 00000101 00000001") + content.left(2692));

    f.server = std::make_unique<kivo::test::JackServer>();
    if (!f.server->isReady())
        qFatal("%s", qPrintable(f.server->failure()));
    f.unit = std::make_unique<kivo::test::UnitSimulator>(f.server->name(), QStringLiteral("unit"));
    if (!f.unit->isReady())
        qFatal("%s", qPrintable(f.unit->failure()));
}

// Long enough for a steady figure; a smoke run reads the file once.
void forTwoSeconds(benchmark::internal::Benchmark *b)
{
    if (kivo::bench::smokeRun())
        b->Iterations(1);
    else
        b->MinTime(2.0);
}

void BM_ReadFile(benchmark::State &state)
{
    std::vector<char> buffer(128 * 1024);
    for (auto _ : state) {
        std::FILE *file = std::fopen(fixture().idFile.constData(), "rb");
        std::size_t total = 0;
        std::size_t got = 0;
        while ((got = std::fread(buffer.data(), 1, buffer.size(), file)) > 0)
            total += got;
        std::fclose(file);
        benchmark::DoNotOptimize(total);
    }
}
BENCHMARK(BM_ReadFile)->Unit(benchmark::kMillisecond)->Apply(forTwoSeconds);

void BM_GetId(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(getId(fixture().idFile.constData()));
}
BENCHMARK(BM_GetId)->Unit(benchmark::kMillisecond)->Apply(forTwoSeconds);

void BM_WriteMidi(benchmark::State &state)
{
    Fixture &f = fixture();
    for (auto _ : state) {
        const std::size_t before = f.unit->messages().size();
        if (writeMidi(f.soundFile.constData(), 5, 0) != 0)
            state.SkipWithError("writeMidi failed");
        state.PauseTiming();
        if (!f.unit->waitForMessages(before + 28, 10s))
            state.SkipWithError("the unit did not receive 28 messages");
        state.ResumeTiming();
    }
}
BENCHMARK(BM_WriteMidi)->Unit(benchmark::kMillisecond)->Iterations(kivo::bench::smokeRun() ? 1 : 3)->UseRealTime();

// Keeps each benchmark's real time per iteration, in milliseconds, and whether one
// of them failed.
class FigureReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &run : runs) {
            m_failed = m_failed || run.error_occurred;
            if (run.run_type == Run::RT_Iteration && run.iterations > 0) {
                m_ms[run.run_name.function_name] = run.real_accumulated_time * 1000.0
                    / static_cast<double>(run.iterations);
            }
        }
    }
    double ms(const std::string &name) const
    {
        const auto found = m_ms.find(name);
        return found == m_ms.end() ? 0.0 : found->second;
    }
    bool failed() const { return m_failed; }

private:
    std::map<std::string, double> m_ms;
    bool m_failed = false;
};

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    setUp();
    FigureReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    const double read = reporter.ms("BM_ReadFile");
    const double id = reporter.ms("BM_GetId");
    const double write = reporter.ms("BM_WriteMidi");
    std::printf("getId of 64 MiB: %.2f ms, reading it: %.2f ms, ratio %.3f (goal under 1.5)\n", id, read,
                read > 0 ? id / read : 0.0);
    std::printf("writeMidi: %.1f ms, mandated 28 x (38.08 + 50) ms = %.1f ms, ratio %.4f (goal under 1.02)\n",
                write, mandatedWriteMs, write / mandatedWriteMs);
    fixture().unit.reset();
    fixture().server.reset();
    benchmark::Shutdown();
    return reporter.failed() || read <= 0 || id <= 0 || write <= 0 ? 1 : 0;
}
