#include "FreshFontConfig.h"
#include "window/StandInFonts.h"

#include <QApplication>
#include <QDir>
#include <QFontDatabase>
#include <QFontInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace kivo;

// The program on a machine whose font configuration knows nothing of Wine's font
// folder, as a fresh one that has only the package's dependencies installed.
class StandInFontsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanup();

    void windowFont_data();
    void windowFont();

private:
    QTemporaryDir m_empty;
};

namespace {

QFontInfo designFont(bool bold)
{
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSizeF(8.25);
    font.setBold(bold);
    return QFontInfo(font);
}

} // namespace

void StandInFontsTest::initTestCase()
{
    QVERIFY(m_empty.isValid());
    QVERIFY2(!QFontDatabase::families().contains(QStringLiteral("Tahoma")),
             "the machine's fonts of this test should not have Tahoma");
    const QString folder = standInFontFolder();
    QVERIFY2(QFileInfo::exists(QDir(folder).filePath(QStringLiteral("tahoma.ttf"))),
             qPrintable(folder + QStringLiteral(" has no tahoma.ttf (package fonts-wine)")));
}

void StandInFontsTest::cleanup()
{
    QFontDatabase::removeAllApplicationFonts();
}

void StandInFontsTest::windowFont_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<bool>("found");

    QTest::newRow("font package's folder") << standInFontFolder() << true;
    QTest::newRow("folder without the fonts") << m_empty.path() << false;
    QTest::newRow("no folder") << QString() << false;
}

// The regular and the bold face are Tahoma's own where the folder has them;
// elsewhere the text falls back to another font and the program goes on.
void StandInFontsTest::windowFont()
{
    QFETCH(QString, folder);
    QFETCH(bool, found);

    QCOMPARE(useStandInFonts(folder), found);
    const QFontInfo regular = designFont(false);
    const QFontInfo bold = designFont(true);
    if (!found) {
        QVERIFY(regular.family() != QStringLiteral("Tahoma"));
        QVERIFY(!regular.family().isEmpty());
        return;
    }
    QCOMPARE(regular.family(), QStringLiteral("Tahoma"));
    QCOMPARE(regular.styleName(), QStringLiteral("Regular"));
    QCOMPARE(bold.family(), QStringLiteral("Tahoma"));
    QCOMPARE(bold.styleName(), QStringLiteral("Bold"));
}

int main(int argc, char *argv[])
{
    // Read once, when the first font is looked up.
    const test::FreshFontConfig fonts;
    if (!fonts.isValid())
        return EXIT_FAILURE;
    fonts.use();
    QApplication application(argc, argv);
    StandInFontsTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "StandInFontsTest.moc"
