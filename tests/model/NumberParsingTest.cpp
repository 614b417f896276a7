#include "model/NumberParsing.h"

#include <QTest>

#include <limits>

using namespace kivo;

class NumberParsingTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void numericValue_data();
    void numericValue();
    void rounding_data();
    void rounding();
};

void NumberParsingTest::numericValue_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");

    QTest::newRow("digits") << QStringLiteral("42") << 42.0;
    QTest::newRow("leading blanks") << QStringLiteral("  \t7") << 7.0;
    QTest::newRow("stops at a letter") << QStringLiteral(" 7x") << 7.0;
    QTest::newRow("negative") << QStringLiteral("-2147483648") << -2147483648.0;
    QTest::newRow("plus sign") << QStringLiteral("+5") << 5.0;
    QTest::newRow("leading zeros") << QStringLiteral("007") << 7.0;
    QTest::newRow("negative zero") << QStringLiteral("-0") << 0.0;
    QTest::newRow("15 digits") << QStringLiteral("-999999999999999") << -999999999999999.0;
    QTest::newRow("16 digits") << QStringLiteral("9007199254740993") << 9007199254740992.0;
    QTest::newRow("20 digits") << QStringLiteral("12345678901234567890") << 12345678901234567890.0;
    QTest::newRow("digits beyond 64 bits") << QStringLiteral("123456789012345678901234567890") << 1.2345678901234568e29;
    QTest::newRow("digits and a dot") << QStringLiteral("12.") << 12.0;
    QTest::newRow("fraction") << QStringLiteral("2.5") << 2.5;
    QTest::newRow("fraction only") << QStringLiteral(".5") << 0.5;
    QTest::newRow("exponent") << QStringLiteral("1e2") << 100.0;
    QTest::newRow("D exponent") << QStringLiteral("15D-1") << 1.5;
    QTest::newRow("incomplete exponent") << QStringLiteral("3e") << 3.0;
    QTest::newRow("exponent sign without digits") << QStringLiteral("3e+x") << 3.0;
    QTest::newRow("second dot ends it") << QStringLiteral("1.2.3") << 1.2;
    QTest::newRow("hexadecimal") << QStringLiteral("&H10") << 16.0;
    QTest::newRow("hexadecimal lower case") << QStringLiteral("&hff") << 255.0;
    QTest::newRow("16-bit hexadecimal wraps") << QStringLiteral("&HFFFF") << -1.0;
    QTest::newRow("32-bit hexadecimal") << QStringLiteral("&H10000") << 65536.0;
    QTest::newRow("32-bit hexadecimal wraps") << QStringLiteral("&HFFFFFFFF") << -1.0;
    QTest::newRow("hexadecimal beyond 32 bits") << QStringLiteral("&H100000000")
                                                << std::numeric_limits<double>::infinity();
    QTest::newRow("octal") << QStringLiteral("&O17") << 15.0;
    QTest::newRow("octal without letter") << QStringLiteral("&17") << 15.0;
    QTest::newRow("octal stops at 8") << QStringLiteral("&O18") << 1.0;
    QTest::newRow("empty") << QString() << 0.0;
    QTest::newRow("no number") << QStringLiteral("abc") << 0.0;
    QTest::newRow("sign alone") << QStringLiteral("-") << 0.0;
    QTest::newRow("dot alone") << QStringLiteral(".") << 0.0;
    QTest::newRow("ampersand alone") << QStringLiteral("&") << 0.0;
    QTest::newRow("overflow") << QStringLiteral("1e400") << std::numeric_limits<double>::infinity();
}

void NumberParsingTest::numericValue()
{
    QFETCH(QString, text);
    QFETCH(double, expected);
    QCOMPARE(kivo::numericValue(text), expected);
}

void NumberParsingTest::rounding_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<bool>("fits16");
    QTest::addColumn<int>("as16");
    QTest::addColumn<bool>("fits32");
    QTest::addColumn<int>("as32");

    QTest::newRow("2.5 to even 2") << 2.5 << true << 2 << true << 2;
    QTest::newRow("3.5 to even 4") << 3.5 << true << 4 << true << 4;
    QTest::newRow("-2.5 to even -2") << -2.5 << true << -2 << true << -2;
    QTest::newRow("2.6 up") << 2.6 << true << 3 << true << 3;
    QTest::newRow("16-bit top") << 32767.0 << true << 32767 << true << 32767;
    QTest::newRow("rounds past 16-bit top") << 32767.5 << false << 0 << true << 32768;
    QTest::newRow("16-bit bottom") << -32768.0 << true << -32768 << true << -32768;
    QTest::newRow("32-bit top") << 2147483647.0 << false << 0 << true << 2147483647;
    QTest::newRow("past 32-bit top") << 2147483648.0 << false << 0 << false << 0;
    QTest::newRow("32-bit bottom") << -2147483648.0 << false << 0 << true << (-2147483647 - 1);
    QTest::newRow("infinity") << std::numeric_limits<double>::infinity() << false << 0 << false << 0;
    QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << false << 0 << false << 0;
}

void NumberParsingTest::rounding()
{
    QFETCH(double, value);
    QFETCH(bool, fits16);
    QFETCH(int, as16);
    QFETCH(bool, fits32);
    QFETCH(int, as32);

    const auto small = roundToInteger<qint16>(value);
    QCOMPARE(small.has_value(), fits16);
    if (fits16)
        QCOMPARE(int(*small), as16);
    const auto large = roundToInteger<qint32>(value);
    QCOMPARE(large.has_value(), fits32);
    if (fits32)
        QCOMPARE(*large, as32);
}

QTEST_GUILESS_MAIN(NumberParsingTest)
#include "NumberParsingTest.moc"
