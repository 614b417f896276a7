#include "model/Global.h"
#include "platform/RuntimeError.h"

#include "ScriptedModalSeam.h"

#include <QDir>
#include <QTest>

using namespace kivo;

namespace {
QString sep(const char *path)
{
    return QString::fromLatin1(path).replace(u'/', QDir::separator());
}
} // namespace

class GlobalTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void isValidName_data();
    void isValidName();
    void isAlphaNumeric_data();
    void isAlphaNumeric();
    void pathHelpers_data();
    void pathHelpers();
    void pathHelperFailures_data();
    void pathHelperFailures();
};

void GlobalTest::isValidName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QString>("trimmed");

    // A name is also its list's file name: with ".dat" it must fit the file system's
    // 255 bytes (255 UTF-16 units on Windows), under the rule of 255 characters.
    const QString longest = QString(u'a') + QString(250, u'b');
    const QString max = QString(u'a') + QString(254, u'b');
    const QString accents125 = QString(u'a') + QString(125, u'\u00e9');
    const QString accents126 = accents125 + u'\u00e9';
    const QString accents129 = QString(u'a') + QString(129, u'\u00e9');
#ifdef Q_OS_WIN
    const bool accentsOverBytesFit = true;
#else
    const bool accentsOverBytesFit = false;
#endif
    QTest::newRow("blanks around") << QStringLiteral("  Bass Set  ") << true << QStringLiteral("Bass Set");
    QTest::newRow("empty") << QString() << false << QString();
    QTest::newRow("blanks only") << QStringLiteral("    ") << false << QString();
    QTest::newRow("tab is not trimmed") << QStringLiteral("\tBass") << false << QStringLiteral("\tBass");
    QTest::newRow("251 characters, the longest file name") << longest << true << longest;
    QTest::newRow("252 characters, file name too long") << longest + u'c' << false << longest + u'c';
    QTest::newRow("255 characters, file name too long") << max << false << max;
    QTest::newRow("256 characters") << max + u'c' << false << max + u'c';
    QTest::newRow("blanks around the longest trim to it") << QStringLiteral("  ") + longest + QStringLiteral(" ")
                                                          << true << longest;
    QTest::newRow("126 characters in 251 bytes") << accents125 << true << accents125;
    QTest::newRow("127 characters in 253 bytes") << accents126 << accentsOverBytesFit << accents126;
    QTest::newRow("130 characters in 259 bytes") << accents129 << accentsOverBytesFit << accents129;
    QTest::newRow("LPT4 upper") << QStringLiteral("LPT4") << true << QStringLiteral("LPT4");
    QTest::newRow("lpt4 lower") << QStringLiteral("lpt4") << false << QStringLiteral("lpt4");
    QTest::newRow("CON") << QStringLiteral("CON") << false << QStringLiteral("CON");
    QTest::newRow("Con mixed case") << QStringLiteral("Con") << true << QStringLiteral("Con");
    QTest::newRow("nul") << QStringLiteral("nul") << false << QStringLiteral("nul");
    QTest::newRow("COM5") << QStringLiteral("COM5") << true << QStringLiteral("COM5");
    QTest::newRow("CON1") << QStringLiteral("CON1") << true << QStringLiteral("CON1");
    QTest::newRow("con.txt") << QStringLiteral("con.txt") << true << QStringLiteral("con.txt");
    QTest::newRow("underscore first") << QStringLiteral("_bass") << false << QStringLiteral("_bass");
    QTest::newRow("hyphen first") << QStringLiteral("-bass") << false << QStringLiteral("-bass");
    QTest::newRow("non-ASCII letter first") << QStringLiteral("\u00c9cho") << false << QStringLiteral("\u00c9cho");
    QTest::newRow("non-ASCII later") << QStringLiteral("Ech\u00f6") << true << QStringLiteral("Ech\u00f6");
    QTest::newRow("digit first") << QStringLiteral("8 Bit") << true << QStringLiteral("8 Bit");
    QTest::newRow("slash") << QStringLiteral("a/b") << false << QStringLiteral("a/b");
    QTest::newRow("backslash") << QStringLiteral("a\\b") << false << QStringLiteral("a\\b");
    QTest::newRow("colon") << QStringLiteral("a:b") << false << QStringLiteral("a:b");
    QTest::newRow("question mark") << QStringLiteral("a?") << false << QStringLiteral("a?");
    QTest::newRow("double quote") << QStringLiteral("a\"b") << false << QStringLiteral("a\"b");
    QTest::newRow("asterisk") << QStringLiteral("a*") << false << QStringLiteral("a*");
    QTest::newRow("less than") << QStringLiteral("a<b") << false << QStringLiteral("a<b");
    QTest::newRow("greater than") << QStringLiteral("a>b") << false << QStringLiteral("a>b");
    QTest::newRow("bar") << QStringLiteral("a|b") << false << QStringLiteral("a|b");
    QTest::newRow("dot, blank, number sign") << QStringLiteral("Set 1.2 #3") << true << QStringLiteral("Set 1.2 #3");
    QTest::newRow("Library") << QStringLiteral("Library") << false << QStringLiteral("Library");
    QTest::newRow("library lower") << QStringLiteral("library") << false << QStringLiteral("library");
    QTest::newRow("Library with blanks") << QStringLiteral(" LIBRARY ") << false << QStringLiteral("LIBRARY");
    QTest::newRow("Library2") << QStringLiteral("Library2") << true << QStringLiteral("Library2");
    QTest::newRow("inner tab") << QStringLiteral("a\tb") << false << QStringLiteral("a\tb");
    QTest::newRow("inner CR LF") << QStringLiteral("a\r\nb") << false << QStringLiteral("a\r\nb");
    QTest::newRow("trailing LF") << QStringLiteral("a\n") << false << QStringLiteral("a\n");
    QTest::newRow("DEL") << QStringLiteral("a\u007f") << false << QStringLiteral("a\u007f");
}

void GlobalTest::isValidName()
{
    QFETCH(QString, name);
    QFETCH(bool, valid);
    QFETCH(QString, trimmed);

    test::ScriptedModalSeam seam;
    QCOMPARE(kivo::isValidName(name), valid);
    QCOMPARE(name, trimmed);
    QVERIFY(seam.messages().isEmpty());
}

void GlobalTest::isAlphaNumeric_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("expected");

    QTest::newRow("empty") << QString() << false;
    QTest::newRow("digits and letters") << QStringLiteral("0aZ9") << true;
    QTest::newRow("blank") << QStringLiteral("a b") << false;
    QTest::newRow("punctuation") << QStringLiteral("a.") << false;
    QTest::newRow("letter outside ASCII") << QStringLiteral("\u00e9") << false;
}

void GlobalTest::isAlphaNumeric()
{
    QFETCH(QString, text);
    QFETCH(bool, expected);
    QCOMPARE(kivo::isAlphaNumeric(text), expected);
}

using PathHelper = QString (*)(const QString &);
Q_DECLARE_METATYPE(PathHelper)

void GlobalTest::pathHelpers_data()
{
    QTest::addColumn<PathHelper>("helper");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("expected");

    QTest::newRow("file name of full path") << PathHelper(&getFileName) << sep("/a/b.tvs") << QStringLiteral("b.tvs");
    QTest::newRow("file name without folder") << PathHelper(&getFileName) << QStringLiteral("b.tvs") << QStringLiteral("b.tvs");
    QTest::newRow("file name of folder") << PathHelper(&getFileName) << sep("/a/") << QString();
    QTest::newRow("base name") << PathHelper(&getBaseName) << sep("/a/b.tvs") << QStringLiteral("b");
    QTest::newRow("base name two dots") << PathHelper(&getBaseName) << sep("/lists/bass.loop.tvs") << QStringLiteral("bass.loop");
    QTest::newRow("base name no folder") << PathHelper(&getBaseName) << QStringLiteral("piano.tvs") << QStringLiteral("piano");
    QTest::newRow("base name of dot file") << PathHelper(&getBaseName) << sep("/lists/.tvs") << QString();
    QTest::newRow("proposed name") << PathHelper(&getProposedName) << sep("/a/b.c.tvs") << QStringLiteral("b.c");
    QTest::newRow("proposed name without dot") << PathHelper(&getProposedName) << sep("/a/readme") << QStringLiteral("readme");
    QTest::newRow("proposed name dot in folder") << PathHelper(&getProposedName) << sep("/my.dir/readme") << QStringLiteral("readme");
    QTest::newRow("proposed name no folder") << PathHelper(&getProposedName) << QStringLiteral("piano") << QStringLiteral("piano");
    QTest::newRow("quotes both ends") << PathHelper(&stripQuotes) << QStringLiteral("\"/my sounds/a.tvs\"") << QStringLiteral("/my sounds/a.tvs");
    QTest::newRow("no quotes") << PathHelper(&stripQuotes) << QStringLiteral("a.tvs") << QStringLiteral("a.tvs");
    QTest::newRow("two quotes") << PathHelper(&stripQuotes) << QStringLiteral("\"\"") << QString();
    QTest::newRow("leading quote only") << PathHelper(&stripQuotes) << QStringLiteral("\"a") << QStringLiteral("a");
    QTest::newRow("trailing quote only") << PathHelper(&stripQuotes) << QStringLiteral("a\"") << QStringLiteral("a");
    QTest::newRow("one separator stripped") << PathHelper(&stripTrailingSlash) << sep("/data/") << sep("/data");
    QTest::newRow("two separators keep one") << PathHelper(&stripTrailingSlash) << sep("/data//") << sep("/data/");
    QTest::newRow("no separator") << PathHelper(&stripTrailingSlash) << sep("/data") << sep("/data");
}

void GlobalTest::pathHelpers()
{
    QFETCH(PathHelper, helper);
    QFETCH(QString, input);
    QFETCH(QString, expected);
    QCOMPARE(helper(input), expected);
}

void GlobalTest::pathHelperFailures_data()
{
    QTest::addColumn<PathHelper>("helper");
    QTest::addColumn<QString>("input");

    QTest::newRow("base name without dot") << PathHelper(&getBaseName) << sep("/a/readme");
    QTest::newRow("base name dot in folder") << PathHelper(&getBaseName) << sep("/my.dir/readme");
    QTest::newRow("strip quotes of empty") << PathHelper(&stripQuotes) << QString();
    QTest::newRow("strip quotes of one quote") << PathHelper(&stripQuotes) << QStringLiteral("\"");
    QTest::newRow("strip separator of empty") << PathHelper(&stripTrailingSlash) << QString();
}

void GlobalTest::pathHelperFailures()
{
    QFETCH(PathHelper, helper);
    QFETCH(QString, input);
    try {
        helper(input);
        QFAIL("no error raised");
    } catch (const RuntimeError &error) {
        QCOMPARE(error.number(), ErrorNumber::InvalidArgument);
        QCOMPARE(error.description(), QStringLiteral("Invalid procedure call or argument"));
    }
}

QTEST_GUILESS_MAIN(GlobalTest)
#include "GlobalTest.moc"
