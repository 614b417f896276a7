#include "NumberParsing.h"

#include <QString>

namespace kivo {

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n';
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

int digitValue(QChar c, int radix)
{
    const char16_t u = c.unicode();
    int value = radix;
    if (u >= u'0' && u <= u'9')
        value = u - u'0';
    else if (u >= u'A' && u <= u'F')
        value = u - u'A' + 10;
    else if (u >= u'a' && u <= u'f')
        value = u - u'a' + 10;
    return value < radix ? value : -1;
}

// The text after '&': "H" for hexadecimal, "O" or nothing for octal digits.
double radixValue(QStringView text)
{
    int radix = 8;
    if (!text.isEmpty() && (text.front() == u'H' || text.front() == u'h')) {
        radix = 16;
        text = text.mid(1);
    } else if (!text.isEmpty() && (text.front() == u'O' || text.front() == u'o')) {
        text = text.mid(1);
    }
    constexpr quint64 max32 = 0xFFFFFFFFu;
    quint64 value = 0;
    for (const QChar c : text) {
        const int digit = digitValue(c, radix);
        if (digit < 0)
            break;
        value = value * static_cast<quint64>(radix) + static_cast<quint64>(digit);
        if (value > max32)
            return std::numeric_limits<double>::infinity();
    }
    if (value <= 0xFFFFu)
        return static_cast<qint16>(static_cast<quint16>(value));
    return static_cast<qint32>(static_cast<quint32>(value));
}

qsizetype skipDigits(QStringView text, qsizetype i)
{
    while (i < text.size() && isDigit(text.at(i)))
        ++i;
    return i;
}

// Length of an exponent ("E", "e", "D" or "d", an optional sign, at least one digit)
// starting at i; 0 when there is none.
qsizetype exponentLength(QStringView text, qsizetype i)
{
    if (i >= text.size())
        return 0;
    const QChar marker = text.at(i);
    if (marker != u'E' && marker != u'e' && marker != u'D' && marker != u'd')
        return 0;
    qsizetype j = i + 1;
    if (j < text.size() && (text.at(j) == u'+' || text.at(j) == u'-'))
        ++j;
    const qsizetype end = skipDigits(text, j);
    return end > j ? end - i : 0;
}

// An optional sign and at most 15 digits.
double plainIntegerValue(QStringView text)
{
    const bool negative = text.front() == u'-';
    if (negative || text.front() == u'+')
        text = text.mid(1);
    qint64 value = 0;
    for (const QChar c : text)
        value = value * 10 + (c.unicode() - u'0');
    return static_cast<double>(negative ? -value : value);
}

double decimalValue(QStringView text)
{
    qsizetype i = 0;
    if (i < text.size() && (text.at(i) == u'+' || text.at(i) == u'-'))
        ++i;
    const qsizetype integerEnd = skipDigits(text, i);
    qsizetype end = integerEnd;
    if (end < text.size() && text.at(end) == u'.')
        end = skipDigits(text, end + 1);
    const bool hasDigits = integerEnd > i || end > integerEnd + 1;
    if (!hasDigits)
        return 0;
    const qsizetype exponent = exponentLength(text, end);
    // The fields that the program writes are plain integers, which a double holds
    // exactly up to 15 digits: read those without the text conversion.
    if (end == integerEnd && exponent == 0 && integerEnd - i <= 15)
        return plainIntegerValue(text.left(integerEnd));
    end += exponent;
    QString number = text.left(end).toString();
    number.replace(u'D', u'e').replace(u'd', u'e');
    return number.toDouble();
}

} // namespace

double numericValue(QStringView text)
{
    qsizetype start = 0;
    while (start < text.size() && isBlank(text.at(start)))
        ++start;
    text = text.mid(start);
    if (!text.isEmpty() && text.front() == u'&')
        return radixValue(text.mid(1));
    return decimalValue(text);
}

} // namespace kivo
