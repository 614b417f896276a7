// The main window's controls, menus and tab order as they are laid out.
#include "window/frmKivo.h"

#include "WindowFixture.h"

#include <QAction>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QTest>

#include <cstdlib>
#include <memory>
#include <utility>

using namespace kivo;
using namespace kivo::test;
using namespace Qt::StringLiterals;

class frmKivoLayoutTest : public QObject, private WindowFixture {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { setUpOnce(); }
    void init() { setUp(); }
    void cleanup() { tearDown(); }

    void controlsAsDesigned_data();
    void controlsAsDesigned();
    void windowAsDesigned();
    void locationNumbersStandBesideTheirRows();
    void menusAsDesigned_data();
    void menusAsDesigned();
};

void frmKivoLayoutTest::controlsAsDesigned_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("toolTip");
    QTest::addColumn<QFont>("font");

    const auto designFont = [](const QString &family, qreal points, bool bold = false) {
        QFont font(family);
        font.setPointSizeF(points);
        font.setBold(bold);
        return font;
    };
    const QFont tahoma = designFont(u"Tahoma"_s, 8.25);
    const QFont list = designFont(u"Arial"_s, 9.75);

    // Whole pixels of 15 twips.
    QTest::newRow("objLibrary") << u"objLibrary"_s << QRect(16, 96, 194, 225) << u"Kivo Master Library"_s << list;
    QTest::newRow("objLoadList") << u"objLoadList"_s << QRect(280, 120, 169, 202) << u"Your active Load List"_s << list;
    QTest::newRow("cboActiveList") << u"cboActiveList"_s << QRect(256, 96, 193, 21) << u"Your active Load List"_s
                                   << designFont(u"Tahoma"_s, 8.25, true);
    QTest::newRow("lstNumbers") << u"lstNumbers"_s << QRect(256, 120, 25, 202) << QString()
                                << designFont(u"Tahoma"_s, 9.75);
    QTest::newRow("cboDevice") << u"cboDevice"_s << QRect(512, 8, 201, 21) << QString() << tahoma;
    QTest::newRow("objProgressBar") << u"objProgressBar"_s << QRect(496, 336, 217, 27) << QString() << tahoma;
    QTest::newRow("objStatusBar") << u"objStatusBar"_s << QRect(24, 336, 417, 13) << QString()
                                  << designFont(u"Arial"_s, 8.25);
    QTest::newRow("lblPath") << u"lblPath"_s << QRect(504, 120, 201, 31) << QString() << tahoma;
    QTest::newRow("lblTag") << u"lblTag"_s << QRect(504, 184, 201, 31) << QString() << tahoma;
    QTest::newRow("Picture3") << u"Picture3"_s << QRect(493, 248, 245, 87) << QString() << tahoma;
    QTest::newRow("Image1") << u"Image1"_s << QRect(16, 328, 434, 30) << QString() << tahoma;
    QTest::newRow("TransferButton") << u"TransferButton"_s << QRect(503, 56, 206, 46)
                                    << u"Transfer active Load List to Kivo"_s << tahoma;
    QTest::newRow("addButton") << u"addButton"_s << QRect(24, 56, 29, 32) << u"Add sound images to your Library"_s
                               << tahoma;
    QTest::newRow("deleteButton") << u"deleteButton"_s << QRect(64, 56, 42, 32)
                                  << u"Delete sounds images from your Library"_s << tahoma;
    QTest::newRow("deleteLLbutton") << u"deleteLLbutton"_s << QRect(280, 56, 42, 32) << u"Delete active Load List"_s
                                    << tahoma;
    QTest::newRow("newButton") << u"newButton"_s << QRect(240, 56, 26, 32) << u"Create a new Load List"_s << tahoma;
    QTest::newRow("saveButton") << u"saveButton"_s << QRect(328, 56, 28, 32) << u"Save changes to Load List"_s
                                << tahoma;
    QTest::newRow("importButton") << u"importButton"_s << QRect(368, 56, 49, 32) << u"Import a Load List"_s << tahoma;
    QTest::newRow("exportButton") << u"exportButton"_s << QRect(424, 56, 44, 32) << u"Export active Load List"_s
                                  << tahoma;
    QTest::newRow("moveButton") << u"moveButton"_s << QRect(216, 192, 33, 32)
                                << u"Add Sound Image from Library to Load List"_s << tahoma;
    QTest::newRow("upButton") << u"upButton"_s << QRect(456, 160, 33, 32) << u"Shift current Sound Image up"_s
                              << tahoma;
    QTest::newRow("downButton") << u"downButton"_s << QRect(456, 192, 33, 32) << u"Shift current Sound Image down"_s
                                << tahoma;
    QTest::newRow("xButton") << u"xButton"_s << QRect(456, 224, 33, 32)
                             << u"Remove current Sound Image from load list"_s << tahoma;
}

void frmKivoLayoutTest::controlsAsDesigned()
{
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    QFETCH(QString, toolTip);
    QFETCH(QFont, font);

    m_window = std::make_unique<frmKivo>(*m_library, *m_lists);
    auto &widget = control<QWidget>(name);
    QCOMPARE(widget.geometry(), geometry);
    QCOMPARE(widget.toolTip(), toolTip);
    QCOMPARE(widget.parentWidget(), m_window->centralWidget());
    QCOMPARE(widget.font().family(), font.family());
    QCOMPARE(widget.font().pointSizeF(), font.pointSizeF());
    QCOMPARE(widget.font().bold(), font.bold());
}

void frmKivoLayoutTest::windowAsDesigned()
{
    QVERIFY(start());

    // Fixed, with a client area of 738 x 370 below the menus.
    QCOMPARE(m_window->centralWidget()->size(), QSize(738, 370));
    QCOMPARE(m_window->minimumSize(), m_window->maximumSize());
    QVERIFY(!(m_window->windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(m_window->windowFlags() & Qt::WindowMinimizeButtonHint);
    QVERIFY(m_window->windowFlags() & Qt::WindowCloseButtonHint);
    QCOMPARE(m_window->windowTitle(), u"Kivo Rudovaz"_s);
    const auto &progress = control<QProgressBar>(u"objProgressBar"_s);
    QVERIFY(progress.isHidden());
    QCOMPARE(progress.minimum(), 0);
    QCOMPARE(progress.maximum(), 120);
    QCOMPARE(control<QListWidget>(u"objLibrary"_s).selectionMode(), QAbstractItemView::ExtendedSelection);
    QStringList numbers;
    for (int row = 0; row < control<QListWidget>(u"lstNumbers"_s).count(); ++row)
        numbers.append(control<QListWidget>(u"lstNumbers"_s).item(row)->text());
    QCOMPARE(numbers,
             (QStringList{u"01"_s, u"02"_s, u"03"_s, u"04"_s, u"05"_s, u"06"_s, u"07"_s, u"08"_s, u"09"_s, u"10"_s,
                          u"11"_s, u"12"_s}));
    // Each number stands beside its location.
    const auto &locations = control<QListWidget>(u"objLoadList"_s);
    const auto &numberList = control<QListWidget>(u"lstNumbers"_s);
    for (int row = 0; row < locations.count(); ++row) {
        QCOMPARE(
            locations.viewport()->mapTo(m_window.get(), locations.visualItemRect(locations.item(row)).topLeft()).y(),
            numberList.viewport()
                ->mapTo(m_window.get(), numberList.visualItemRect(numberList.item(row)).topLeft())
                .y());
    }
    QCOMPARE(control<QLabel>(u"deleteLLbutton"_s).pixmap().toImage(),
             control<QLabel>(u"deleteButton"_s).pixmap().toImage());
    QVERIFY(!control<QLabel>(u"deleteButton"_s).pixmap().isNull());
    // Tab order of the controls that take the focus.
    QStringList chain;
    QWidget *widget = &control<QListWidget>(u"objLibrary"_s);
    for (int i = 0; i < 18; ++i) {
        chain.append(widget->objectName());
        widget = widget->nextInFocusChain();
        while (widget->focusPolicy() == Qt::NoFocus || widget->objectName().isEmpty())
            widget = widget->nextInFocusChain();
    }
    QCOMPARE(chain,
             (QStringList{u"objLibrary"_s, u"objLoadList"_s, u"cboActiveList"_s, u"lstNumbers"_s, u"cboDevice"_s,
                          u"Picture3"_s, u"TransferButton"_s, u"addButton"_s, u"deleteButton"_s, u"deleteLLbutton"_s,
                          u"newButton"_s, u"saveButton"_s, u"importButton"_s, u"exportButton"_s, u"moveButton"_s,
                          u"upButton"_s, u"downButton"_s, u"xButton"_s}));
}

namespace {

// The first and last pixel rows of the text in a row of a list box, as painted in
// the image of the window: pixels that stand out from the row's background.
std::pair<int, int> inkRows(const QImage &image, const QListWidget &list, int row, QWidget &window)
{
    const QRect rect = list.visualItemRect(list.item(row));
    const QRect cell(list.viewport()->mapTo(&window, rect.topLeft()), rect.size());
    const QColor background = image.pixelColor(cell.right() - 1, cell.top());
    constexpr int contrast = 96;
    int first = -1;
    int last = -1;
    for (int y = cell.top(); y <= cell.bottom(); ++y) {
        for (int x = cell.left(); x < cell.right(); ++x) {
            if (std::abs(qGray(image.pixel(x, y)) - qGray(background.rgb())) > contrast) {
                first = first < 0 ? y : first;
                last = y;
                break;
            }
        }
    }
    return {first, last};
}

} // namespace

void frmKivoLayoutTest::locationNumbersStandBesideTheirRows()
{
    // Names of digits and letters without descenders, so that their text ends on the
    // base line as the numbers do.
    QStringList names;
    for (int n = 1; n <= 12; ++n)
        names.append(u"Row %1"_s.arg(n, 2, 10, QLatin1Char('0')));
    prepareDataFolder(names, {{u"First"_s, names}});
    QVERIFY(start());
    auto &locations = control<QListWidget>(u"objLoadList"_s);
    const auto &numbers = control<QListWidget>(u"lstNumbers"_s);
    // The last row is selected, so the rows compared show their text on the list's own background.
    locations.setCurrentRow(11);
    const QImage image = m_window->grab().toImage();

    for (int row = 0; row < 11; ++row) {
        const auto [numberTop, numberBase] = inkRows(image, numbers, row, *m_window);
        const auto [nameTop, nameBase] = inkRows(image, locations, row, *m_window);
        QVERIFY2(numberTop >= 0 && nameTop >= 0, qPrintable(u"row %1 shows no text"_s.arg(row)));
        QCOMPARE(numberBase, nameBase);
    }
    // Clear of the list's border.
    const int viewportTop = numbers.viewport()->mapTo(m_window.get(), QPoint(0, 0)).y();
    QVERIFY(inkRows(image, numbers, 0, *m_window).first > viewportTop);
}

void frmKivoLayoutTest::menusAsDesigned_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QStringList>("items"); // object names, in order

    QTest::newRow("application") << u"flmApplicatoin"_s << u"&Application"_s
                                 << QStringList{u"flmPrint"_s, u"sep4"_s, u"flmExit"_s};
    QTest::newRow("print") << u"flmPrint"_s << u"&Print"_s << QStringList{u"flmPrintLib"_s, u"flmPrintLL"_s};
    QTest::newRow("library") << u"flmLibrary"_s << u"Li&brary"_s << QStringList{u"flmLibAdd"_s, u"flmLibRemove"_s};
    QTest::newRow("load list") << u"flmLL"_s << u"&Load List"_s
                               << QStringList{u"flmLLCreate"_s, u"flmLLRemove"_s, u"sep6"_s,        u"flmSave"_s,
                                              u"flmLLRename"_s, u"sep5"_s,        u"flmLLImport"_s, u"flmLLExport"_s};
    QTest::newRow("help") << u"flmHelp"_s << u"&Help"_s
                          << QStringList{u"flmKRH"_s, u"sep2"_s, u"flmKRWeb"_s, u"sep3"_s, u"flmAKR"_s};
}

void frmKivoLayoutTest::menusAsDesigned()
{
    QFETCH(QString, menu);
    QFETCH(QString, caption);
    QFETCH(QStringList, items);

    m_window = std::make_unique<frmKivo>(*m_library, *m_lists);
    auto &submenu = control<QMenu>(menu);
    QCOMPARE(submenu.title(), caption);
    QStringList names;
    for (const QAction *action : submenu.actions())
        names.append(action->menu() != nullptr ? action->menu()->objectName() : action->objectName());
    QCOMPARE(names, items);
    for (const QAction *action : submenu.actions()) {
        QVERIFY(action->shortcut().isEmpty());
        if (action->isSeparator())
            QCOMPARE(action->text(), QString());
    }
    const QList<QAction *> bar = m_window->menuBar()->actions();
    QCOMPARE(bar.size(), 4);
    QCOMPARE(bar.constFirst()->menu()->objectName(), u"flmApplicatoin"_s);
    QCOMPARE(bar.constLast()->menu()->objectName(), u"flmHelp"_s);
}

QTEST_MAIN(frmKivoLayoutTest)
#include "frmKivoLayoutTest.moc"
