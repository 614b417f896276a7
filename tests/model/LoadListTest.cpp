#include "model/Factory.h"
#include "model/LoadList.h"

#include "ScriptedModalSeam.h"

#include <QTest>

using namespace kivo;

namespace {

ModelPtr record(const QString &name)
{
    return newModel(7, name, QStringLiteral("/sounds/") + name + QStringLiteral(".tvs"));
}

// A list named "Set" whose given locations hold records named after them.
LoadListPtr listWith(std::initializer_list<int> locations)
{
    QString name = QStringLiteral("Set");
    auto list = newLoadList(name);
    for (const int location : locations)
        list->add(location, record(QStringLiteral("s%1").arg(location)));
    return list;
}

} // namespace

class LoadListTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void newListState();
    void initTrimsCallersName();
    void initWithBadNameKeepsEmptyName();
    void addAndRemoveKeepCount();
    void emptyNamedRecordReadsAsEmpty();
    void addOutsideRangeIsRefused_data();
    void addOutsideRangeIsRefused();
    void getCurrentEmpty_data();
    void getCurrentEmpty();
    void fillingInOrderAndRefillingGaps();
    void swap_data();
    void swap();
    void swapWithBadFirstPositionDoesNothing();
    void persistentView();
    void newModelKeepsValues();
};

void LoadListTest::newListState()
{
    LoadList list;
    QVERIFY(list.name().isEmpty());
    QVERIFY(list.hasChanged());
    QCOMPARE(list.count(), 0);
    QCOMPARE(list.CurrentLocation(), 0);
    QCOMPARE(list.ArrayLength(), 11);
    for (int i = 0; i < 12; ++i)
        QVERIFY(list.isLocationEmpty(i));
}

void LoadListTest::initTrimsCallersName()
{
    QString name = QStringLiteral("  Live  ");
    auto list = newLoadList(name);
    QCOMPARE(name, QStringLiteral("Live"));
    QCOMPARE(list->name(), QStringLiteral("Live"));
    QVERIFY(!list->hasChanged());
}

void LoadListTest::initWithBadNameKeepsEmptyName()
{
    auto list = listWith({0, 1});
    QString bad = QStringLiteral("a:b");
    list->init(bad);
    QCOMPARE(list->name(), QStringLiteral("Set"));
    QCOMPARE(list->count(), 2);

    QString alsoBad = QStringLiteral(" CON ");
    auto fresh = newLoadList(alsoBad);
    QVERIFY(fresh->name().isEmpty());
    QCOMPARE(alsoBad, QStringLiteral("CON"));
}

void LoadListTest::addAndRemoveKeepCount()
{
    auto list = listWith({0, 1, 2});
    QCOMPARE(list->count(), 3);

    list->add(1, record(QStringLiteral("other")));
    QCOMPARE(list->count(), 3);
    QCOMPARE(list->getModel(1)->name(), QStringLiteral("other"));

    list->add(2, nullptr);
    QCOMPARE(list->count(), 2);
    QVERIFY(list->isLocationEmpty(2));

    list->remove(5);
    QCOMPARE(list->count(), 2);
    QCOMPARE(list->CurrentLocation(), 5);

    list->remove(0);
    QCOMPARE(list->count(), 1);
    QCOMPARE(list->CurrentLocation(), 0);

    list->remove(12);
    list->remove(-1);
    QCOMPARE(list->count(), 1);
    QCOMPARE(list->CurrentLocation(), 0);
}

void LoadListTest::emptyNamedRecordReadsAsEmpty()
{
    auto list = listWith({});
    list->add(4, newModel(1, QString(), QStringLiteral("/x.tvs")));
    QVERIFY(list->hasChanged());
    QCOMPARE(list->getModel(4), ModelPtr());
    QVERIFY(list->isLocationEmpty(4));
    QCOMPARE(list->count(), 0);
    QCOMPARE(list->CurrentLocation(), 5);
}

void LoadListTest::addOutsideRangeIsRefused_data()
{
    QTest::addColumn<int>("location");
    QTest::newRow("-1") << -1;
    QTest::newRow("12") << 12;
    QTest::newRow("32767") << 32767;
}

void LoadListTest::addOutsideRangeIsRefused()
{
    QFETCH(int, location);
    test::ScriptedModalSeam seam;
    auto list = listWith({3});
    const int before = list->CurrentLocation();

    list->add(location, record(QStringLiteral("x")));

    QCOMPARE(seam.messages().size(), 1);
    const MessageRequest &box = seam.messages().constFirst();
    QCOMPARE(box.text, QStringLiteral("Cannot add Sound Image at this index"));
    QCOMPARE(box.buttons, Buttons::Ok);
    QCOMPARE(box.icon, Icon::None);
    QVERIFY(box.title.isEmpty() || box.title == programTitle());
    QCOMPARE(list->count(), 1);
    QCOMPARE(list->CurrentLocation(), before);
    QVERIFY(!list->isLocationEmpty(location));
    QCOMPARE(list->getModel(location), ModelPtr());
}

void LoadListTest::getCurrentEmpty_data()
{
    QTest::addColumn<QList<int>>("occupied");
    QTest::addColumn<int>("current");
    QTest::addColumn<int>("expected");

    QTest::newRow("0 to 4 filled, current 5") << QList<int>{0, 1, 2, 3, 4} << 5 << 5;
    QTest::newRow("all but 2, current 7") << QList<int>{0, 1, 3, 4, 5, 6, 7, 8, 9, 10, 11} << 7 << 2;
    QTest::newRow("all occupied") << QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11} << 0 << -1;
    QTest::newRow("only 11 free, current 0") << QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10} << 0 << 11;
    QTest::newRow("empty list") << QList<int>{} << 0 << 0;
}

void LoadListTest::getCurrentEmpty()
{
    QFETCH(QList<int>, occupied);
    QFETCH(int, current);
    QFETCH(int, expected);

    auto list = listWith({});
    for (const int location : occupied)
        list->add(location, record(QStringLiteral("s%1").arg(location)));
    // A swap of two positions moves the current location without changing contents
    // when both are the same.
    int to = current;
    list->swap(current, to);
    QCOMPARE(list->CurrentLocation(), current);
    QCOMPARE(list->getCurrentEmpty(), expected);
}

void LoadListTest::fillingInOrderAndRefillingGaps()
{
    auto list = listWith({});
    for (int i = 0; i < 12; ++i) {
        const int next = list->getCurrentEmpty();
        QCOMPARE(next, i);
        list->add(next, record(QStringLiteral("s%1").arg(i)));
    }
    QCOMPARE(list->getCurrentEmpty(), -1);
    QCOMPARE(list->CurrentLocation(), 0);

    list->remove(6);
    QCOMPARE(list->getCurrentEmpty(), 6);
    list->add(6, record(QStringLiteral("again")));
    QCOMPARE(list->getCurrentEmpty(), -1);
    QCOMPARE(list->count(), 12);
}

void LoadListTest::swap_data()
{
    QTest::addColumn<int>("pos1");
    QTest::addColumn<int>("pos2");
    QTest::addColumn<int>("wrapped");

    QTest::newRow("neighbours") << 3 << 4 << 4;
    QTest::newRow("10 down to the last location") << 10 << 11 << 11;
    QTest::newRow("last location up to 10") << 11 << 10 << 10;
    QTest::newRow("first up wraps to 11") << 0 << -1 << 11;
    QTest::newRow("far below wraps to 11") << 0 << -5 << 11;
    QTest::newRow("last down wraps to 0") << 11 << 12 << 0;
    QTest::newRow("far above wraps to 0") << 11 << 13 << 0;
}

void LoadListTest::swap()
{
    QFETCH(int, pos1);
    QFETCH(int, pos2);
    QFETCH(int, wrapped);

    auto list = listWith({pos1});
    const ModelPtr moved = list->getModel(pos1);
    const bool changedBefore = list->hasChanged();

    list->swap(pos1, pos2);

    QCOMPARE(pos2, wrapped);
    QCOMPARE(list->getModel(wrapped), moved);
    QVERIFY(list->isLocationEmpty(pos1));
    QCOMPARE(list->CurrentLocation(), wrapped);
    QCOMPARE(list->count(), 1);
    QCOMPARE(list->hasChanged(), changedBefore);
}

void LoadListTest::swapWithBadFirstPositionDoesNothing()
{
    auto list = listWith({0, 11});
    const int current = list->CurrentLocation();
    int pos2 = 20;
    list->swap(12, pos2);
    QCOMPARE(pos2, 20);
    QCOMPARE(list->CurrentLocation(), current);
    QCOMPARE(list->getModel(0)->name(), QStringLiteral("s0"));
    QCOMPARE(list->getModel(11)->name(), QStringLiteral("s11"));
}

void LoadListTest::persistentView()
{
    auto list = listWith({2});
    IPersistToFile &unit = list->persistent();
    QCOMPARE(unit.count(), 12);
    QCOMPARE(unit.name(), QStringLiteral("Set"));
    QCOMPARE(unit.getModel(2), list->getModel(2));
    QCOMPARE(unit.getModel(3), ModelPtr());

    unit.addModel(9, record(QStringLiteral("nine")));
    QCOMPARE(list->getModel(9)->name(), QStringLiteral("nine"));
    QCOMPARE(list->count(), 2);

    unit.clear();
    QCOMPARE(list->count(), 0);
    QCOMPARE(list->name(), QStringLiteral("Set"));
}

void LoadListTest::newModelKeepsValues()
{
    const ModelPtr model = newModel(-2147483647 - 1, QString(), QStringLiteral("/a b/c.tvs"));
    QCOMPARE(model->tag(), std::numeric_limits<qint32>::min());
    QVERIFY(model->name().isEmpty());
    QCOMPARE(model->path(), QStringLiteral("/a b/c.tvs"));
}

QTEST_GUILESS_MAIN(LoadListTest)
#include "LoadListTest.moc"
