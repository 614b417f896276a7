#include "window/DragAndDrop.h"

#include "commands/GlueProxy.h"

#include <QMimeData>
#include <QTest>
#include <QUrl>

using namespace kivo;
using namespace Qt::StringLiterals;

class DragAndDropTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void modelDragData_data();
    void modelDragData();
    void loadListRowAt_data();
    void loadListRowAt();
    void droppedFiles_data();
    void droppedFiles();
};

void DragAndDropTest::initTestCase()
{
    // What the presenter's start-up registers.
    gModelClipFormat = u"application/x-kivo-test-model"_s;
}

void DragAndDropTest::modelDragData_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("plain letters") << u"Bass 1"_s << QByteArray("B\0a\0s\0s\0 \0001\0", 12);
    QTest::newRow("empty text") << QString() << QByteArray();
    QTest::newRow("letter beyond ASCII") << u"\u00E9"_s << QByteArray("\xE9\x00", 2);
    QTest::newRow("high byte first in the character") << u"\u20AC"_s << QByteArray("\xAC\x20", 2);
    QTest::newRow("surrogate pair") << u"\U0001D11E"_s << QByteArray("\x34\xD8\x1E\xDD", 4);
}

void DragAndDropTest::modelDragData()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);

    const std::unique_ptr<QMimeData> data = kivo::modelDragData(text);

    QCOMPARE(data->formats(), QStringList{gModelClipFormat});
    QCOMPARE(data->data(gModelClipFormat), bytes);
    QVERIFY(hasModelDragData(*data));
}

void DragAndDropTest::loadListRowAt_data()
{
    QTest::addColumn<int>("y");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("row");

    // A list 120 pixels high has rows of 10 pixels.
    QTest::newRow("top edge") << 0 << 120 << 0;
    QTest::newRow("upper half of row 0") << 4 << 120 << 0;
    QTest::newRow("middle of row 0 rounds to the even row") << 5 << 120 << 0;
    QTest::newRow("lower half of row 0") << 6 << 120 << 1;
    QTest::newRow("middle of row 1 rounds to the even row") << 15 << 120 << 2;
    QTest::newRow("middle of row 2 rounds to the even row") << 25 << 120 << 2;
    QTest::newRow("upper half of the last row") << 114 << 120 << 11;
    QTest::newRow("lower half of the last row") << 116 << 120 << 12;
    QTest::newRow("bottom edge") << 120 << 120 << 12;
    QTest::newRow("rows of a fraction of a pixel") << 101 << 202 << 6;
    QTest::newRow("no height") << 5 << 0 << -1;
}

void DragAndDropTest::loadListRowAt()
{
    QFETCH(int, y);
    QFETCH(int, height);
    QFETCH(int, row);

    QCOMPARE(kivo::loadListRowAt(y, height), row);
}

void DragAndDropTest::droppedFiles_data()
{
    QTest::addColumn<QList<QUrl>>("urls");
    QTest::addColumn<QStringList>("files");

    const auto file = [](const QString &path) { return QUrl::fromLocalFile(path); };
    QTest::newRow("files in their order")
        << QList<QUrl>{file(u"/b/two.tvs"_s), file(u"/a/one.tvs"_s), file(u"/c/three.txt"_s)}
        << QStringList{u"/b/two.tvs"_s, u"/a/one.tvs"_s, u"/c/three.txt"_s};
    QTest::newRow("blanks and other letters") << QList<QUrl>{file(u"/My Sounds/Bäss 1.tvs"_s)}
                                              << QStringList{u"/My Sounds/Bäss 1.tvs"_s};
    QTest::newRow("addresses that are no files")
        << QList<QUrl>{QUrl(u"https://www.tulvex.com/a.tvs"_s), file(u"/a/one.tvs"_s)}
        << QStringList{u"/a/one.tvs"_s};
    QTest::newRow("no file list") << QList<QUrl>{} << QStringList{};
}

void DragAndDropTest::droppedFiles()
{
    QFETCH(QList<QUrl>, urls);
    QFETCH(QStringList, files);

    QMimeData data;
    data.setText(u"/x/y.tvs"_s);
    if (!urls.isEmpty())
        data.setUrls(urls);

    QCOMPARE(kivo::droppedFiles(data), files);
}

QTEST_GUILESS_MAIN(DragAndDropTest)
#include "DragAndDropTest.moc"
