#include "commands/Glue.h"
#include "commands/PrinterObject.h"
#include "model/Factory.h"
#include "platform/CommonDialog.h"

#include "CommonDialogsLibrary.h"
#include "GlueFixture.h"

#include <QDir>
#include <QFile>
#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QImage>
#include <QPageLayout>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

#include <functional>

using namespace kivo;

namespace {

const QString sentLibrary = QStringLiteral(" Library's content was sent to your printer");
const QString couldNotPrint = QStringLiteral(" Kivo Rudovaz could not print. Please install a valid Printer");

QString soundName(int number)
{
    return QStringLiteral("Sound %1").arg(number, 3, 10, QLatin1Char('0'));
}

// The text of a PDF file as pdftotext reads it, in the page's layout.
QString pdfText(const QString &file, const QStringList &options = {QStringLiteral("-layout")})
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), options + QStringList{file, QStringLiteral("-")});
    if (!process.waitForFinished() || process.exitCode() != 0)
        return QStringLiteral("<pdftotext failed on %1>").arg(file);
    return QString::fromUtf8(process.readAllStandardOutput());
}

// A word of a page with its box in points, from pdftotext -bbox; the box's height
// grows with the font size.
struct Word {
    QString text;
    double xMin = 0;
    double yMin = 0;
    double height = 0;
};

QList<Word> pdfWords(const QString &file)
{
    static const QRegularExpression word(
        QString::fromLatin1(R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="[\d.]+" yMax="([\d.]+)">([^<]*)</word>)re"));
    QList<Word> words;
    const QString html = pdfText(file, {QStringLiteral("-bbox")});
    for (auto it = word.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        const double yMin = match.captured(2).toDouble();
        words.append({match.captured(4), match.captured(1).toDouble(), yMin, match.captured(3).toDouble() - yMin});
    }
    return words;
}

// A horizontal rule of a page: how far down it lies and where it begins and ends, in points.
struct Rule {
    double y = 0;
    double left = 0;
    double right = 0;
};

// The horizontal rules of a one-page PDF file as pdftoppm draws the page: runs of dark
// dots along a dot line, longer than any printed word. A rule whose stroke covers
// several dot lines is one rule.
QList<Rule> pdfRules(const QString &file)
{
    constexpr int dotsPerInch = 144;
    constexpr double pointsPerDot = 72.0 / dotsPerInch;
    constexpr double longerThanAnyWord = 100.0 / pointsPerDot;
    const QString prefix = file + QStringLiteral(".page");
    QProcess process;
    // Without smoothing a hairline comes out as whole dark dots.
    process.start(QStringLiteral("pdftoppm"),
                  {QStringLiteral("-r"), QString::number(dotsPerInch), QStringLiteral("-gray"),
                   QStringLiteral("-aa"), QStringLiteral("no"), QStringLiteral("-aaVector"), QStringLiteral("no"),
                   QStringLiteral("-singlefile"), file, prefix});
    if (!process.waitForFinished() || process.exitCode() != 0)
        return {};
    const QImage page = QImage(prefix + QStringLiteral(".pgm")).convertToFormat(QImage::Format_Grayscale8);
    QList<Rule> rules;
    int previousRuleLine = -2;
    for (int y = 0; y < page.height(); ++y) {
        const uchar *dots = page.constScanLine(y);
        int runStart = 0;
        int bestStart = 0;
        int bestLength = 0;
        for (int x = 0; x <= page.width(); ++x) {
            if (x < page.width() && dots[x] < 128)
                continue;
            if (x - runStart > bestLength) {
                bestStart = runStart;
                bestLength = x - runStart;
            }
            runStart = x + 1;
        }
        if (bestLength < longerThanAnyWord)
            continue;
        if (y != previousRuleLine + 1)
            rules.append({y * pointsPerDot, bestStart * pointsPerDot, (bestStart + bestLength) * pointsPerDot});
        previousRuleLine = y;
    }
    return rules;
}

// The printed rows of a page: each number with the name beside it ("" for none).
QList<std::pair<int, QString>> printedRows(const QString &pageText)
{
    static const QRegularExpression row(QString::fromLatin1(R"re(^\s*(\d+)(?:\s+(\S.*?))?\s*$)re"));
    QList<std::pair<int, QString>> rows;
    for (const QString &line : pageText.split(QLatin1Char('\n'))) {
        const QRegularExpressionMatch match = row.match(line);
        if (match.hasMatch())
            rows.append({match.captured(1).toInt(), match.captured(2)});
    }
    return rows;
}

// The printer writes into a PDF file, which the status text after each print job
// moves aside, so that each job can be read on its own.
struct Fixture : test::GlueFixture {
    QPrinter printer{QPrinter::HighResolution};
    QString output;
    QStringList jobs;
    // Each status text, marked "job: " when a print job came out before it.
    QStringList journal;

    Fixture()
        : output(dir.filePath(QStringLiteral("printer/out.pdf")))
    {
        QDir(dir.path()).mkpath(QStringLiteral("printer"));
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(output);
        glue.setPrinter(&printer);
        listener.onUpdateStatusBar = [this](const QString &text) {
            if (!QFile::exists(output)) {
                journal.append(text);
                return;
            }
            const QString job = dir.filePath(QStringLiteral("job%1.pdf").arg(jobs.size() + 1));
            QVERIFY(QFile::rename(output, job));
            jobs.append(job);
            journal.append(QStringLiteral("job: ") + text);
        };
    }

    void addRecords(int count)
    {
        for (int number = 1; number <= count; ++number)
            library.add(newModel(number, soundName(number), soundPath(soundName(number))));
    }

    // An active list with the named sounds at the given locations.
    void makeActiveList(QString name, const QList<std::pair<int, QString>> &entries)
    {
        const LoadListPtr list = newLoadList(name);
        for (const auto &[location, sound] : entries)
            list->add(location, newModel(location, sound, soundPath(sound)));
        lists.addLoadList(list);
        lists.setActiveLoadList(list);
    }
};

using Setup = std::function<void(Fixture &)>;

} // namespace

Q_DECLARE_METATYPE(Setup)

class PrintTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void libraryPages_data();
    void libraryPages();
    void loadListRows();
    void rowPositions();
    void nothingToPrint_data();
    void nothingToPrint();
    void unusablePrinter_data();
    void unusablePrinter();
    void printerChosenInDialog();
    void unfinishedPageNotSent();
};

void PrintTest::libraryPages_data()
{
    QTest::addColumn<int>("records");
    QTest::addColumn<int>("pages");

    QTest::newRow("1 record") << 1 << 1;
    QTest::newRow("30 records") << 30 << 1;
    QTest::newRow("31 records") << 31 << 2;
    QTest::newRow("61 records") << 61 << 3;
    QTest::newRow("92 records") << 92 << 4;
}

void PrintTest::libraryPages()
{
    QFETCH(int, records);
    QFETCH(int, pages);

    Fixture f;
    f.addRecords(records);
    f.glue.printList(QStringLiteral("LIBRARY"));

    QStringList expectedJournal;
    for (int page = 0; page < pages; ++page)
        expectedJournal.append(QStringLiteral("job: ") + sentLibrary);
    QCOMPARE(f.journal, expectedJournal);
    QCOMPARE(f.jobs.size(), pages);

    // The rules run from 300 to 6300 twips, from an origin 300 twips inside the printable area.
    const QRectF printable = f.printer.pageLayout().paintRect(QPageLayout::Point);
    const double ruleLeft = printable.left() + (300 + 300) / 20.0;
    const double ruleRight = printable.left() + (300 + 6300) / 20.0;
    for (int page = 0; page < pages; ++page) {
        const QString text = pdfText(f.jobs.at(page));
        QCOMPARE(text.count(QLatin1Char('\f')), 1); // one page to a job
        const qsizetype maker = text.indexOf(QStringLiteral("Tulvex"));
        const qsizetype program = text.indexOf(QStringLiteral("Kivo Rudovaz"));
        const qsizetype name = text.indexOf(QStringLiteral("Library"));
        QVERIFY2(maker >= 0 && maker < program && program < name, qPrintable(text));

        QList<std::pair<int, QString>> expectedRows;
        for (int row = 30 * page; row < std::min(30 * page + 30, records); ++row)
            expectedRows.append({row + 1, soundName(row + 1)});
        QCOMPARE(printedRows(text), expectedRows);

        // One rule under each row.
        const QList<Rule> rules = pdfRules(f.jobs.at(page));
        QCOMPARE(rules.size(), expectedRows.size());
        for (const Rule &rule : rules) {
            QVERIFY2(qAbs(rule.left - ruleLeft) < 1.0 && qAbs(rule.right - ruleRight) < 1.0,
                     qPrintable(QStringLiteral("%1 to %2").arg(rule.left).arg(rule.right)));
        }
    }
}

void PrintTest::loadListRows()
{
    Fixture f;
    f.makeActiveList(QStringLiteral("Set %1"), {{0, QStringLiteral("Bass %1")}, {11, QStringLiteral("Pad")}});
    f.glue.printList(QStringLiteral("LOADLIST"));

    QCOMPARE(f.journal, QStringList{QStringLiteral("job:  Set %1's content was sent to your printer")});
    const QString text = pdfText(f.jobs.value(0));
    QVERIFY2(text.contains(QStringLiteral("Set %1")), qPrintable(text));
    QList<std::pair<int, QString>> expectedRows;
    for (int row = 1; row <= 12; ++row)
        expectedRows.append({row, QString()});
    expectedRows.first().second = QStringLiteral("Bass %1");
    expectedRows.last().second = QStringLiteral("Pad");
    QCOMPARE(printedRows(text), expectedRows);
}

// Numbers at 300 twips and names at 3050 twips from an origin 300 twips inside the
// printable area; each row one 16-point line and 20 twips below the one before.
void PrintTest::rowPositions()
{
    Fixture f;
    f.addRecords(2);
    f.glue.printList(QStringLiteral("LIBRARY"));
    QCOMPARE(f.jobs.size(), 1);

    QList<Word> numbers;
    QList<Word> names;
    QHash<QString, double> headerX;
    QHash<QString, double> headerHeight;
    for (const Word &word : pdfWords(f.jobs.constFirst())) {
        if (word.text == u"1" || word.text == u"2")
            numbers.append(word);
        else if (word.text == u"Sound")
            names.append(word);
        else {
            headerX.insert(word.text, word.xMin);
            headerHeight.insert(word.text, word.height);
        }
    }
    QCOMPARE(numbers.size(), 2);
    QCOMPARE(names.size(), 2);

    const QRectF printable = f.printer.pageLayout().paintRect(QPageLayout::Point);
    constexpr double pointsPerTwip = 1.0 / 20.0;
    const double numberX = printable.left() + (300 + 300) * pointsPerTwip;
    const double nameX = printable.left() + (300 + 3050) * pointsPerTwip;
    for (qsizetype row = 0; row < 2; ++row) {
        // The number follows the blank that stands where a minus sign would.
        QVERIFY2(numbers.at(row).xMin > numberX && numbers.at(row).xMin < numberX + 10,
                 qPrintable(QString::number(numbers.at(row).xMin)));
        QVERIFY2(qAbs(names.at(row).xMin - nameX) < 1.0, qPrintable(QString::number(names.at(row).xMin)));
        QVERIFY(qAbs(numbers.at(row).yMin - names.at(row).yMin) < 0.1);
    }

    // One, two and three TABs before the list's name, the maker and the program.
    const double originX = printable.left() + 300 * pointsPerTwip;
    QVERIFY2(originX < headerX.value(QStringLiteral("Library")), qPrintable(QString::number(originX)));
    QVERIFY(headerX.value(QStringLiteral("Library")) < headerX.value(QStringLiteral("Tulvex")));
    QVERIFY(headerX.value(QStringLiteral("Tulvex")) < headerX.value(QStringLiteral("Kivo")));

    QFont font;
    font.setPointSizeF(16);
    const double lineHeight = QFontMetricsF(font, &f.printer).height() * 72.0 / f.printer.resolution();
    const double rowPitch = names.at(1).yMin - names.at(0).yMin;
    QVERIFY2(qAbs(rowPitch - (lineHeight + 20 * pointsPerTwip)) < 0.5, qPrintable(QString::number(rowPitch)));

    // The maker's and the program's lines at 18 points, the list's name and the rows at 16.
    const double sixteen = headerHeight.value(QStringLiteral("Library"));
    QVERIFY(sixteen > 0);
    for (const QString &word : {QStringLiteral("Tulvex"), QStringLiteral("Kivo"), QStringLiteral("Rudovaz")}) {
        QVERIFY2(qAbs(headerHeight.value(word) / sixteen - 18.0 / 16.0) < 0.01,
                 qPrintable(QStringLiteral("%1: %2 against %3").arg(word).arg(headerHeight.value(word)).arg(sixteen)));
    }
    for (const Word &word : numbers + names)
        QVERIFY2(qAbs(word.height - sixteen) < 0.01, qPrintable(QStringLiteral("%1: %2").arg(word.text).arg(word.height)));

    // Each row's rule lies at the top of the line after the row, 20 twips above the next row.
    const QList<Rule> rules = pdfRules(f.jobs.constFirst());
    QCOMPARE(rules.size(), 2);
    for (qsizetype row = 0; row < 2; ++row) {
        const double ruleY = names.at(row).yMin + rowPitch - 20 * pointsPerTwip;
        QVERIFY2(qAbs(rules.at(row).y - ruleY) < 1.0,
                 qPrintable(QStringLiteral("row %1: rule at %2, expected at %3").arg(row).arg(rules.at(row).y).arg(ruleY)));
    }
}

void PrintTest::nothingToPrint_data()
{
    QTest::addColumn<Setup>("setup");
    QTest::addColumn<QString>("strList");
    QTest::addColumn<QStringList>("journal");

    const Setup none = [](Fixture &) {};
    const Setup records = [](Fixture &f) { f.addRecords(3); };
    const Setup activeList = [](Fixture &f) { f.makeActiveList(QStringLiteral("Live"), {{0, QStringLiteral("a")}}); };

    QTest::newRow("empty library") << none << QStringLiteral("LIBRARY")
                                   << QStringList{QStringLiteral(" Your list of Sound Image is empty")};
    QTest::newRow("empty library, a list active")
        << activeList << QStringLiteral("LIBRARY") << QStringList{QStringLiteral(" Your list of Sound Image is empty")};
    QTest::newRow("no active list") << records << QStringLiteral("LOADLIST")
                                    << QStringList{QStringLiteral(" Your Load List is empty")};
    QTest::newRow("library in small letters") << records << QStringLiteral("library") << QStringList{};
    QTest::newRow("load list in small letters") << activeList << QStringLiteral("loadlist") << QStringList{};
    QTest::newRow("empty text") << records << QString() << QStringList{};
}

void PrintTest::nothingToPrint()
{
    QFETCH(Setup, setup);
    QFETCH(QString, strList);
    QFETCH(QStringList, journal);

    Fixture f;
    setup(f);
    f.glue.printList(strList);
    QCOMPARE(f.journal, journal);
    QVERIFY(!QFile::exists(f.output));
    QCOMPARE(f.jobs, QStringList{});
}

void PrintTest::unusablePrinter_data()
{
    QTest::addColumn<Setup>("setup");

    QTest::newRow("output folder missing") << Setup([](Fixture &f) {
        f.printer.setOutputFileName(f.dir.filePath(QStringLiteral("missing/out.pdf")));
    });
    QTest::newRow("no such printer") << Setup([](Fixture &f) {
        f.printer.setOutputFileName({});
        f.printer.setOutputFormat(QPrinter::NativeFormat);
        f.printer.setPrinterName(QStringLiteral("Kivo printer that is not there"));
    });
}

void PrintTest::unusablePrinter()
{
    QFETCH(Setup, setup);

    Fixture f;
    setup(f);
    f.addRecords(31);
    f.glue.printList(QStringLiteral("LIBRARY"));
    QCOMPARE(f.journal, (QStringList{couldNotPrint, couldNotPrint}));
    QCOMPARE(f.jobs, QStringList{});
    QCOMPARE(QDir(f.dir.path()).entryList({QStringLiteral("*.pdf")}, QDir::Files), QStringList{});
}

// The printer chosen in the print dialog is the one that prints.
void PrintTest::printerChosenInDialog()
{
    Fixture f;
    f.seam.onNextDialog([&f](QDialog &shown) {
        QPrinter &chosen = *dynamic_cast<QPrintDialog &>(shown).printer();
        chosen.setOutputFormat(QPrinter::PdfFormat);
        chosen.setOutputFileName(f.output);
        return int(QDialog::Accepted);
    });
    CommonDialog objDialog(test::commonDialogsLibrary());
    objDialog.CancelError = true;
    objDialog.ShowPrinter();

    f.printer.setOutputFileName(f.dir.filePath(QStringLiteral("not chosen.pdf")));
    f.glue.setPrinter(&objDialog.printer());
    f.addRecords(1);
    f.glue.printList(QStringLiteral("LIBRARY"));
    QCOMPARE(f.journal, QStringList{QStringLiteral("job: ") + sentLibrary});
    QVERIFY(pdfText(f.jobs.value(0)).contains(soundName(1)));
    QVERIFY(!QFile::exists(f.dir.filePath(QStringLiteral("not chosen.pdf"))));
}

void PrintTest::unfinishedPageNotSent()
{
    Fixture f;
    {
        PrinterObject objPrinter(f.printer);
        objPrinter.Print(QStringLiteral("half a page"));
        objPrinter.Line(300, 300, 6300, 300);
    }
    QVERIFY(!QFile::exists(f.output));

    PrinterObject objPrinter(f.printer);
    objPrinter.Print(QStringLiteral("a whole page"));
    objPrinter.EndDoc();
    QCOMPARE(pdfText(f.output).trimmed(), QStringLiteral("a whole page"));
}

QTEST_MAIN(PrintTest)
#include "PrintTest.moc"
