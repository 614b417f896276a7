#include "window/Artwork.h"

#include <QColor>
#include <QImage>
#include <QTest>

using namespace kivo;

// Every picture the window, the splash screen and the About box ask for by name is
// there, at the size of the control that shows it, and is not blank.
class ArtworkTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void picture_data();
    void picture();
    void buttonStatesDiffer_data();
    void buttonStatesDiffer();
    void unknownNameIsNull();
};

namespace {

// Controls are laid out in twips, 15 to the pixel.
QSize twips(int width, int height)
{
    return {(width + 7) / 15, (height + 7) / 15};
}

struct ButtonKey {
    const char *key;
    QSize size;
};

const ButtonKey buttonKeys[] = {
    {"add", twips(440, 480)},     {"delete", twips(635, 480)}, {"new", twips(400, 480)},
    {"save", twips(430, 480)},    {"import", twips(740, 480)}, {"export", twips(670, 480)},
    {"move", twips(500, 480)},    {"up", twips(500, 480)},     {"down", twips(500, 480)},
    {"X", twips(500, 480)},       {"transfer", twips(3100, 690)},
};

bool differ(const QImage &a, const QImage &b)
{
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                return true;
    return false;
}

bool hasInk(const QImage &image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) != 0)
                return true;
    return false;
}

// The mean lightness of a picture's pixels.
int lightness(const QImage &image)
{
    qint64 sum = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            sum += QColor::fromRgba(image.pixel(x, y)).lightness();
    return static_cast<int>(sum / (qint64{image.width()} * image.height()));
}

} // namespace

void ArtworkTest::picture_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("size");

    QTest::newRow("background") << QStringLiteral("background") << twips(11070, 5550);
    QTest::newRow("icon") << QStringLiteral("icon") << QSize(64, 64);
    QTest::newRow("Picture3") << QStringLiteral("Picture3") << twips(3680, 1310);
    QTest::newRow("Image1") << QStringLiteral("Image1") << twips(6510, 450);
    QTest::newRow("Image2") << QStringLiteral("Image2") << twips(795, 270);
    QTest::newRow("Image3") << QStringLiteral("Image3") << twips(990, 255);
    QTest::newRow("Image4") << QStringLiteral("Image4") << twips(1350, 360);
    QTest::newRow("Image5") << QStringLiteral("Image5") << twips(1575, 360);
    QTest::newRow("splash") << QStringLiteral("splash") << QSize(502, 293);
    QTest::newRow("about") << QStringLiteral("about") << QSize(391, 293);
    for (const ButtonKey &button : buttonKeys) {
        for (const char *suffix : {"", "_01", "_02"}) {
            const QString name = QLatin1String(button.key) + QLatin1String(suffix);
            QTest::newRow(name.toUtf8().constData()) << name << button.size;
        }
    }
}

void ArtworkTest::picture()
{
    QFETCH(QString, name);
    QFETCH(QSize, size);

    const QPixmap pixmap = artwork(name);
    QVERIFY(!pixmap.isNull());
    QCOMPARE(pixmap.size(), size);
    QVERIFY(hasInk(pixmap.toImage()));
}

void ArtworkTest::buttonStatesDiffer_data()
{
    QTest::addColumn<QString>("key");
    for (const ButtonKey &button : buttonKeys)
        QTest::newRow(button.key) << QString::fromLatin1(button.key);
}

// The hover picture is lighter than the normal one, the pressed one darker.
void ArtworkTest::buttonStatesDiffer()
{
    QFETCH(QString, key);

    const QImage normal = artwork(key).toImage();
    const QImage hover = artwork(key + QStringLiteral("_01")).toImage();
    const QImage pressed = artwork(key + QStringLiteral("_02")).toImage();
    QVERIFY(differ(normal, hover));
    QVERIFY(differ(normal, pressed));
    QCOMPARE_GT(lightness(hover), lightness(normal));
    QCOMPARE_LT(lightness(pressed), lightness(normal));
}

void ArtworkTest::unknownNameIsNull()
{
    QVERIFY(artwork(QStringLiteral("no such picture")).isNull());
}

QTEST_MAIN(ArtworkTest)
#include "ArtworkTest.moc"
