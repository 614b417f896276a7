#include "kivotools.h"
#include "transfer/IdAccumulator.h"
#include "transfer/Transfer.h"

#include "NoSoundImage.h"
#include "TestFiles.h"

#include <QFileInfo>
#include <QTest>

#include <atomic>
#include <thread>
#include <vector>

using namespace kivo::test;

namespace {

// The number's definition, bit by bit: the file read as one big-endian
// number, reduced after every bit.
std::int32_t bitwiseId(const QByteArray &content)
{
    constexpr std::uint32_t modulus = 268'435'455;
    std::uint32_t r = 0;
    for (const char byte : content) {
        for (int bit = 7; bit >= 0; --bit) {
            r = 2 * r + ((static_cast<unsigned char>(byte) >> bit) & 1U);
            if (r >= modulus)
                r -= modulus;
        }
    }
    return static_cast<std::int32_t>(r);
}

QByteArray header(std::uint32_t tag)
{
    return QByteArray::fromHex("00000010") + QByteArray("KIVO") + QByteArray::fromHex("00000101")
        + bigEndian32(tag);
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray imageBytes(const std::optional<kivo::transfer::ImageData> &image)
{
    return QByteArray(reinterpret_cast<const char *>(image->data()), static_cast<qsizetype>(image->size()));
}

constexpr qsizetype imageSize = 2688;
const std::int32_t missing = -1;

} // namespace

class SoundImageFileTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void headerWords_data();
    void headerWords();
    void idEqualsBitwiseDefinition_data();
    void idEqualsBitwiseDefinition();
    void idOfFileCutShortMeanwhile();
    void convertFileWritesHeaderAndCopy();
    void convertFileFailures_data();
    void convertFileFailures();
    void whatIsNoFileIsNotRead_data();
    void whatIsNoFileIsNotRead();
    void convertFileToAPipeNobodyReads();
    void imageData_data();
    void imageData();
    void imageDataOfFileBeyondFourGiB();

private:
    QTemporaryDir m_dir;
};

void SoundImageFileTest::headerWords_data()
{
    QTest::addColumn<bool>("exists");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("tag");
    QTest::addColumn<int>("magic");
    QTest::addColumn<int>("id");

    const QByteArray counting = QByteArray::fromHex("0102030405060708090A0B0C0D0E0F10");
    QTest::newRow("missing") << false << QByteArray() << missing << missing << missing;
    QTest::newRow("empty") << true << QByteArray() << missing << missing << missing;
    QTest::newRow("abc") << true << QByteArray("abc") << missing << missing << 6'382'179;
    QTest::newRow("FF FF FF FF") << true << QByteArray::fromHex("FFFFFFFF") << missing << missing << 15;
    QTest::newRow("07") << true << QByteArray::fromHex("07") << missing << missing << 7;
    QTest::newRow("exactly 268,435,455") << true << QByteArray::fromHex("0FFFFFFF") << missing << missing << 0;
    QTest::newRow("7 bytes") << true << QByteArray("0123456") << missing << missing << 104'286'297;
    QTest::newRow("8 bytes") << true << counting.left(8) << missing << 0x05060708 << 86'390'601;
    QTest::newRow("15 bytes") << true << counting.left(15) << missing << 0x05060708 << 29'615'625;
    QTest::newRow("16 bytes") << true << counting << 0x0D0E0F10 << 0x05060708 << 65'407'276;
    QTest::newRow("tag FFFFFFFF reads as -1") << true << header(0xFFFFFFFF) << -1 << 0x4B49564F
                                              << bitwiseId(header(0xFFFFFFFF));
}

void SoundImageFileTest::headerWords()
{
    QFETCH(bool, exists);
    QFETCH(QByteArray, content);
    QFETCH(int, tag);
    QFETCH(int, magic);
    QFETCH(int, id);

    const QString name = QString::fromLatin1(QTest::currentDataTag()) + QStringLiteral(".tvs");
    const QByteArray path = QFile::encodeName(exists ? writeFile(m_dir, name, content) : m_dir.filePath(name));
    QCOMPARE(::readTag(path.constData()), tag);
    QCOMPARE(::getTvsId(path.constData()), magic);
    QCOMPARE(::getId(path.constData()), id);
    if (exists && !content.isEmpty())
        QCOMPARE(id, bitwiseId(content));
}

void SoundImageFileTest::idEqualsBitwiseDefinition_data()
{
    QTest::addColumn<QByteArray>("content");

    // Sizes around the lane width (224), the 16-bit flush (257 rounds) and the
    // read chunk, and all-FF content for the largest lane sums.
    const qsizetype lanes = 224;
    const auto chunk = static_cast<qsizetype>(kivo::transfer::IdAccumulator::preferredChunk);
    for (const qsizetype size : {qsizetype{1}, qsizetype{6}, qsizetype{13}, lanes - 1, lanes, lanes + 1,
                                 lanes * 257 + 5, chunk, 2 * chunk + 17, qsizetype{1'048'579}}) {
        QTest::addRow("random %lld bytes", static_cast<long long>(size))
            << randomBytes(size, static_cast<quint32>(size));
    }
    QTest::newRow("all FF past a flush") << repeated("FF", lanes * 300 + 3);
}

void SoundImageFileTest::idEqualsBitwiseDefinition()
{
    QFETCH(QByteArray, content);
    const QString path = writeFile(m_dir, QStringLiteral("id.bin"), content);
    QCOMPARE(::getId(QFile::encodeName(path).constData()), bitwiseId(content));
}

// Another program keeps cutting the file to nothing and extending it again
// while it is read: the reading sees an earlier end, and the process lives.
void SoundImageFileTest::idOfFileCutShortMeanwhile()
{
    const QString path = m_dir.filePath(QStringLiteral("shrinking.bin"));
    const QByteArray name = QFile::encodeName(path);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    constexpr qint64 size = qint64{16} << 20; // zeros, so every complete read gives 0
    QVERIFY(file.resize(size));

    std::atomic<bool> reading{true};
    std::atomic<int> cuts{0};
    std::thread cutter([&] {
        while (reading) {
            file.resize(0);
            file.resize(size);
            ++cuts;
        }
    });
    std::vector<std::int32_t> ids;
    while (ids.size() < 20 || cuts < 20)
        ids.push_back(::getId(name.constData()));
    reading = false;
    cutter.join();

    for (const std::int32_t id : ids)
        QVERIFY2(id == 0 || id == missing, qPrintable(QString::number(id)));
}

void SoundImageFileTest::convertFileWritesHeaderAndCopy()
{
    const QByteArray source = QFile::encodeName(writeFile(m_dir, QStringLiteral("abc.raw"), "abc"));
    const QByteArray destination = QFile::encodeName(m_dir.filePath(QStringLiteral("abc.tvs")));
    QCOMPARE(::convertFile(source.constData(), destination.constData(), 5), 0);

    QCOMPARE(readAll(QFile::decodeName(destination)).toHex(' '),
             QByteArray::fromHex("00000010 4B49564F 00000101 00000005 616263").toHex(' '));
    QCOMPARE(::readTag(destination.constData()), 5);
    QCOMPARE(::getTvsId(destination.constData()), 0x4B49564F);
    const auto image = kivo::transfer::readImageData(destination.constData());
    QVERIFY(image.has_value());
    QCOMPARE(imageBytes(image), QByteArray(imageSize, '\0'));
}

void SoundImageFileTest::convertFileFailures_data()
{
    QTest::addColumn<bool>("sourceExists");
    QTest::addColumn<QString>("destination");
    QTest::addColumn<int>("tag");
    QTest::addColumn<int>("result");
    QTest::addColumn<QByteArray>("written");

    const QByteArray payload = randomBytes(200'000, 7);
    QTest::newRow("existing destination is replaced")
        << true << QStringLiteral("old.tvs") << -2 << 0 << header(0xFFFFFFFE) + payload;
    QTest::newRow("missing source") << false << QStringLiteral("never.tvs") << 1 << -1 << QByteArray();
    QTest::newRow("destination folder missing") << true << QStringLiteral("no/such/folder.tvs") << 1 << -1
                                                << QByteArray();
    QTest::newRow("full disk") << true << QStringLiteral("/dev/full") << 1 << -1 << QByteArray();
}

void SoundImageFileTest::convertFileFailures()
{
    QFETCH(bool, sourceExists);
    QFETCH(QString, destination);
    QFETCH(int, tag);
    QFETCH(int, result);
    QFETCH(QByteArray, written);

    const QByteArray payload = randomBytes(200'000, 7);
    const QString source = sourceExists ? writeFile(m_dir, QStringLiteral("payload.raw"), payload)
                                        : m_dir.filePath(QStringLiteral("absent.raw"));
    const QString target = destination.startsWith(QLatin1Char('/')) ? destination : m_dir.filePath(destination);
    if (destination == QStringLiteral("old.tvs"))
        writeFile(m_dir, destination, repeated("AA", 300'000));

    QCOMPARE(::convertFile(QFile::encodeName(source).constData(), QFile::encodeName(target).constData(), tag),
             result);
    if (result == 0)
        QCOMPARE(readAll(target), written);
    else if (!sourceExists)
        QVERIFY(!QFile::exists(target));
}

void SoundImageFileTest::whatIsNoFileIsNotRead_data()
{
    QTest::addColumn<NoSoundImage>("kind");

    QTest::newRow("named pipe") << NoSoundImage::Pipe;
    QTest::newRow("folder") << NoSoundImage::Folder;
    QTest::newRow("dangling link") << NoSoundImage::DanglingLink;
    QTest::newRow("device") << NoSoundImage::Device;
}

// Nothing but an ordinary file is read: a named pipe would hold the caller until
// another process opens it, and a folder or a device is no sound image to copy.
void SoundImageFileTest::whatIsNoFileIsNotRead()
{
    QFETCH(NoSoundImage, kind);
    const QString path = m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()) + QStringLiteral(".tvs"));
    QVERIFY(makeNoSoundImage(kind, path));
    const QByteArray name = QFile::encodeName(path);
    const QString destination = m_dir.filePath(QStringLiteral("converted.tvs"));
    QFile::remove(destination);

    const PipeOpener opener(path);
    QCOMPARE(::readTag(name.constData()), missing);
    QCOMPARE(::getTvsId(name.constData()), missing);
    QCOMPARE(::getId(name.constData()), missing);
    QCOMPARE(::convertFile(name.constData(), QFile::encodeName(destination).constData(), 1), -1);
    QVERIFY(!kivo::transfer::readImageData(name.constData()));

    QVERIFY2(!opener.opened(), "a call waited for the other end of the pipe");
    QVERIFY(!QFileInfo::exists(destination));
}

void SoundImageFileTest::convertFileToAPipeNobodyReads()
{
    const QByteArray source = QFile::encodeName(writeFile(m_dir, QStringLiteral("abc.raw"), "abc"));
    const QString pipe = m_dir.filePath(QStringLiteral("nobody reads.tvs"));
    QVERIFY(makeNoSoundImage(NoSoundImage::Pipe, pipe));

    const PipeOpener opener(pipe);
    QCOMPARE(::convertFile(source.constData(), QFile::encodeName(pipe).constData(), 1), -1);

    QVERIFY2(!opener.opened(), "the copy waited for a reader of the pipe");
}

void SoundImageFileTest::imageData_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("readable");
    QTest::addColumn<QByteArray>("image");

    const QByteArray data = randomBytes(imageSize, 11);
    const QByteArray skipped = QByteArray::fromHex("DEADBEEF");
    QTest::newRow("header length 16") << header(3) + skipped + data + randomBytes(500, 12) << true << data;
    QTest::newRow("ends inside the image data")
        << header(3) + skipped + data.left(1000) << true << data.left(1000) + QByteArray(imageSize - 1000, '\0');
    QTest::newRow("header length is size - 1")
        << bigEndian32(20) + randomBytes(17, 13) << true << QByteArray(imageSize, '\0');
    QTest::newRow("header length is size") << bigEndian32(21) + randomBytes(17, 13) << false << QByteArray();
    QTest::newRow("header length above size") << bigEndian32(5000) + data << false << QByteArray();
    QTest::newRow("header length FFFFFFFF") << QByteArray::fromHex("FFFFFFFF") + data << false << QByteArray();
    QTest::newRow("3 bytes") << QByteArray::fromHex("000000") << false << QByteArray();
    QTest::newRow("empty") << QByteArray() << false << QByteArray();
}

void SoundImageFileTest::imageData()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, readable);
    QFETCH(QByteArray, image);

    const QString path = writeFile(m_dir, QStringLiteral("image.tvs"), content);
    const auto read = kivo::transfer::readImageData(QFile::encodeName(path).constData());
    QCOMPARE(read.has_value(), readable);
    if (readable)
        QCOMPARE(imageBytes(read), image);
    QVERIFY(!kivo::transfer::readImageData(QFile::encodeName(m_dir.filePath(QStringLiteral("none"))).constData()));
}

// A header length word near 4 GiB in a sparse file of 5 GiB: the image data
// lies past 4 GiB, and nothing but it and the header is read.
void SoundImageFileTest::imageDataOfFileBeyondFourGiB()
{
    const QByteArray data = randomBytes(imageSize, 21);
    const std::uint32_t headerLength = 0xFFFFFFF0;
    const QString path = m_dir.filePath(QStringLiteral("huge.tvs"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(file.resize(qint64{5} << 30));
    QCOMPARE(file.write(bigEndian32(headerLength)), 4);
    QVERIFY(file.seek(qint64{4} + headerLength));
    QCOMPARE(file.write(data), data.size());
    file.close();

    const auto read = kivo::transfer::readImageData(QFile::encodeName(path).constData());
    QVERIFY(read.has_value());
    QCOMPARE(imageBytes(read), data);
}

QTEST_GUILESS_MAIN(SoundImageFileTest)
#include "SoundImageFileTest.moc"
