// Clicks on the library and the load list: the details of the entry, and a double
// click that puts it into the load list.
#include "window/frmKivo.h"

#include "WindowFixture.h"

#include <QLabel>
#include <QListWidget>
#include <QTest>

using namespace kivo;
using namespace kivo::test;
using namespace Qt::StringLiterals;

class frmKivoListsTest : public QObject, private WindowFixture {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { setUpOnce(); }
    void init() { setUp(); }
    void cleanup() { tearDown(); }

    void listRowsShowTheirDetails();
    void clickOnTheCurrentRow_data();
    void clickOnTheCurrentRow();
    void doubleClickPutsTheEntryIntoTheLoadList();
};

void frmKivoListsTest::listRowsShowTheirDetails()
{
    prepareDataFolder({u"Alpha"_s, u"Bravo"_s, u"Charlie"_s}, {{u"First"_s, {u"Alpha"_s, QString(), u"Charlie"_s}}});
    QVERIFY(start());
    activate();
    auto &library = control<QListWidget>(u"objLibrary"_s);
    auto &loadList = control<QListWidget>(u"objLoadList"_s);
    const auto &path = control<QLabel>(u"lblPath"_s);
    const auto &status = control<QLabel>(u"objStatusBar"_s);

    // By the mouse.
    QTest::mouseClick(library.viewport(), Qt::LeftButton, Qt::NoModifier,
                      library.visualItemRect(library.item(1)).center());
    QCOMPARE(library.currentRow(), 1);
    QCOMPARE(path.text(), u" Bravo.tvs"_s);
    QCOMPARE(status.text(), u" "_s + soundPath(u"Bravo"_s));
    QTest::mouseClick(loadList.viewport(), Qt::LeftButton, Qt::NoModifier,
                      loadList.visualItemRect(loadList.item(2)).center());
    QCOMPARE(path.text(), u" Charlie.tvs"_s);
    // By the keyboard.
    library.setFocus();
    QTest::keyClick(&library, Qt::Key_Up);
    QCOMPARE(path.text(), u" Alpha.tvs"_s);
    QTest::keyClick(&library, Qt::Key_Down);
    QCOMPARE(path.text(), u" Bravo.tvs"_s);
    // An empty location clears the details.
    loadList.setCurrentRow(1);
    QCOMPARE(path.text(), u" "_s);
    QCOMPARE(status.text(), QString());
}

void frmKivoListsTest::clickOnTheCurrentRow_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("other");
    QTest::addColumn<int>("otherRow");
    QTest::addColumn<QString>("shown"); // the clicked entry

    QTest::newRow("library") << u"objLibrary"_s << 1 << u"objLoadList"_s << 2 << u"Bravo"_s;
    QTest::newRow("load list") << u"objLoadList"_s << 2 << u"objLibrary"_s << 1 << u"Charlie"_s;
}

void frmKivoListsTest::clickOnTheCurrentRow()
{
    QFETCH(QString, list);
    QFETCH(int, row);
    QFETCH(QString, other);
    QFETCH(int, otherRow);
    QFETCH(QString, shown);

    prepareDataFolder({u"Alpha"_s, u"Bravo"_s, u"Charlie"_s}, {{u"First"_s, {u"Alpha"_s, QString(), u"Charlie"_s}}});
    QVERIFY(start());
    activate();
    const auto click = [this](const QString &name, int at) {
        auto &box = control<QListWidget>(name);
        QTest::mouseClick(box.viewport(), Qt::LeftButton, Qt::NoModifier, box.visualItemRect(box.item(at)).center());
    };
    click(list, row);
    click(other, otherRow);
    QVERIFY(control<QLabel>(u"lblPath"_s).text() != u" "_s + shown + u".tvs"_s);

    // Back on the row that stayed current.
    click(list, row);

    QCOMPARE(control<QListWidget>(list).currentRow(), row);
    QCOMPARE(control<QLabel>(u"lblPath"_s).text(), u" "_s + shown + u".tvs"_s);
    QCOMPARE(control<QLabel>(u"objStatusBar"_s).text(), u" "_s + soundPath(shown));
    const auto tag = static_cast<quint32>(m_library->getModel(shown)->tag());
    QCOMPARE(control<QLabel>(u"lblTag"_s).text(), u" "_s + QString::number(tag, 16).toUpper());
}

void frmKivoListsTest::doubleClickPutsTheEntryIntoTheLoadList()
{
    prepareDataFolder({u"Alpha"_s, u"Bravo"_s, u"Charlie"_s}, {{u"First"_s, {u"Alpha"_s}}});
    QVERIFY(start());
    activate();
    auto &library = control<QListWidget>(u"objLibrary"_s);
    auto &loadList = control<QListWidget>(u"objLoadList"_s);
    loadList.setCurrentRow(5);
    const QPoint charlie = library.visualItemRect(library.item(2)).center();

    // The first click of the two shows the entry's details.
    QTest::mouseClick(library.viewport(), Qt::LeftButton, Qt::NoModifier, charlie);
    QCOMPARE(control<QLabel>(u"lblPath"_s).text(), u" Charlie.tvs"_s);
    QTest::mouseDClick(library.viewport(), Qt::LeftButton, Qt::NoModifier, charlie);

    QCOMPARE(loadList.item(5)->text(), u"Charlie"_s);
    QCOMPARE(m_lists->activeLoadList()->getModel(5)->name(), u"Charlie"_s);
    QCOMPARE(library.selectedItems().size(), 1);
    QVERIFY(m_seam->messages().isEmpty());
}

QTEST_MAIN(frmKivoListsTest)
#include "frmKivoListsTest.moc"
