#include "transfer/BlockMessage.h"

#include "TestFiles.h"

#include <QTest>

using namespace kivo::transfer;
using kivo::test::repeated;

namespace {

QByteArray start(const char *locationAndBlock)
{
    return QByteArray::fromHex("F0476100 41") + QByteArray::fromHex(locationAndBlock);
}

} // namespace

class BlockMessageTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void writeBlockMessage_data();
    void writeBlockMessage();
};

void BlockMessageTest::writeBlockMessage_data()
{
    QTest::addColumn<QByteArray>("block");
    QTest::addColumn<int>("location");
    QTest::addColumn<int>("index");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("all FF") << repeated("FF", 96) << 0 << 0
                            << start("0000") + repeated("7F", 109) + QByteArray::fromHex("7C 50 F7");
    QTest::newRow("all 00") << repeated("00", 96) << 0 << 0
                            << start("0000") + repeated("00", 110) + QByteArray::fromHex("41 F7");
    QTest::newRow("01 02 03") << QByteArray::fromHex("010203") + repeated("00", 93) << 0 << 0
                              << start("0000") + QByteArray::fromHex("00404030") + repeated("00", 106)
                                     + QByteArray::fromHex("71 F7");
    QTest::newRow("80 at location 3 block 5")
        << QByteArray::fromHex("80") + repeated("00", 95) << 3 << 5
        << start("0305") + QByteArray::fromHex("40") + repeated("00", 109) + QByteArray::fromHex("09 F7");
    QTest::newRow("location 11 block 27") << repeated("00", 96) << 11 << 27
                                          << start("0B1B") + repeated("00", 110) + QByteArray::fromHex("67 F7");
}

void BlockMessageTest::writeBlockMessage()
{
    QFETCH(QByteArray, block);
    QFETCH(int, location);
    QFETCH(int, index);
    QFETCH(QByteArray, expected);

    const auto *bytes = reinterpret_cast<const std::uint8_t *>(block.constData());
    const BlockMessage message = ::writeBlockMessage(static_cast<std::uint8_t>(location),
                                                     static_cast<std::uint8_t>(index),
                                                     std::span<const std::uint8_t, blockSize>(bytes, blockSize));
    const QByteArray actual(reinterpret_cast<const char *>(message.data()), static_cast<qsizetype>(message.size()));
    QCOMPARE(actual.size(), 119);
    QCOMPARE(actual.toHex(' '), expected.toHex(' '));
}

QTEST_GUILESS_MAIN(BlockMessageTest)
#include "BlockMessageTest.moc"
