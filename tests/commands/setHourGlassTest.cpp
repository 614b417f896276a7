#include "commands/setHourGlass.h"
#include "platform/RuntimeError.h"

#include <QCursor>
#include <QGuiApplication>
#include <QTest>

using namespace kivo;

namespace {
constexpr int noOverride = -1;

int currentShape()
{
    const QCursor *cursor = QGuiApplication::overrideCursor();
    return cursor == nullptr ? noOverride : cursor->shape();
}
} // namespace

class setHourGlassTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup();
    void restoresTheEarlierShape_data();
    void restoresTheEarlierShape();
    void restoresWhenLeftByAnException();
};

void setHourGlassTest::cleanup()
{
    QCOMPARE(currentShape(), noOverride);
}

void setHourGlassTest::restoresTheEarlierShape_data()
{
    QTest::addColumn<int>("before"); // an override set by someone else, or none
    QTest::addColumn<QList<int>>("pointers");
    QTest::addColumn<QList<int>>("shown"); // after each setPointer

    const int wait = Qt::WaitCursor;
    const int cross = Qt::CrossCursor;
    QTest::newRow("hourglass") << noOverride << QList<int>{11} << QList<int>{wait};
    QTest::newRow("hourglass, default") << noOverride << QList<int>{11, 0} << QList<int>{wait, noOverride};
    QTest::newRow("hourglass twice") << noOverride << QList<int>{11, 11} << QList<int>{wait, wait};
    QTest::newRow("default, hourglass") << noOverride << QList<int>{0, 11} << QList<int>{noOverride, wait};
    QTest::newRow("hourglass, default, hourglass")
        << noOverride << QList<int>{11, 0, 11} << QList<int>{wait, noOverride, wait};
    QTest::newRow("never set") << noOverride << QList<int>{} << QList<int>{};
    QTest::newRow("over another pointer") << cross << QList<int>{11} << QList<int>{wait};
    QTest::newRow("over another pointer, default") << cross << QList<int>{11, 0} << QList<int>{wait, cross};
    QTest::newRow("never set over another pointer") << cross << QList<int>{} << QList<int>{};
}

void setHourGlassTest::restoresTheEarlierShape()
{
    QFETCH(int, before);
    QFETCH(QList<int>, pointers);
    QFETCH(QList<int>, shown);

    if (before != noOverride)
        QGuiApplication::setOverrideCursor(QCursor(static_cast<Qt::CursorShape>(before)));
    {
        setHourGlass hourGlass;
        for (qsizetype i = 0; i < pointers.size(); ++i) {
            hourGlass.setPointer(static_cast<PointerShape>(pointers.at(i)));
            QCOMPARE(currentShape(), shown.at(i));
        }
    }
    QCOMPARE(currentShape(), before);
    if (before != noOverride)
        QGuiApplication::restoreOverrideCursor();
}

void setHourGlassTest::restoresWhenLeftByAnException()
{
    const auto transfer = [] {
        setHourGlass hourGlass;
        hourGlass.setPointer(PointerShape::Hourglass);
        QCOMPARE(currentShape(), Qt::WaitCursor);
        throw RuntimeError(ErrorNumber::FileNotFound);
    };

    QVERIFY_THROWS_EXCEPTION(RuntimeError, transfer());
    QCOMPARE(currentShape(), noOverride);
}

QTEST_MAIN(setHourGlassTest)
#include "setHourGlassTest.moc"
