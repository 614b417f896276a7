#include "frmKivoControls.h"

#include "Artwork.h"
#include "DropListBox.h"

#include "commands/FormGeometry.h"
#include "platform/ModalSeam.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QMainWindow>
#include <QProgressBar>

#include <algorithm>
#include <utility>

namespace kivo {

namespace {

QFont designFont(const QString &family, qreal pointSize, bool bold = false)
{
    QFont f(family);
    f.setPointSizeF(pointSize);
    f.setBold(bold);
    return f;
}

void setColour(QWidget &widget, QPalette::ColorRole role, const QColor &colour)
{
    QPalette palette = widget.palette();
    palette.setColor(role, colour);
    widget.setPalette(palette);
}

const QColor listGrey(192, 192, 192);

// The location numbers stand beside the locations, row by row, whatever the line
// heights of their two fonts.
void locationRows(QListWidget &list)
{
    constexpr int rowHeight = 16;
    list.setGridSize(QSize(list.width() - 2 * list.frameWidth(), rowHeight));
}

} // namespace

const std::array<frmKivoControls::PictureBox, 12> &frmKivoControls::pictureBoxes()
{
    static const std::array<PictureBox, 12> table{{
        {&frmKivoControls::TransferButton, u"TransferButton", 7550, 840, 3100, 690, 10,
         u"Transfer active Load List to Kivo", u"transfer"},
        {&frmKivoControls::addButton, u"addButton", 360, 840, 440, 480, 11, u"Add sound images to your Library",
         u"add"},
        {&frmKivoControls::deleteButton, u"deleteButton", 960, 840, 635, 480, 12,
         u"Delete sounds images from your Library", u"delete"},
        {&frmKivoControls::newButton, u"newButton", 3600, 840, 400, 480, 14, u"Create a new Load List", u"new"},
        {&frmKivoControls::deleteLLbutton, u"deleteLLbutton", 4200, 840, 635, 480, 13, u"Delete active Load List",
         u"delete"},
        {&frmKivoControls::saveButton, u"saveButton", 4920, 840, 430, 480, 15, u"Save changes to Load List", u"save"},
        {&frmKivoControls::importButton, u"importButton", 5520, 840, 740, 480, 16, u"Import a Load List", u"import"},
        {&frmKivoControls::exportButton, u"exportButton", 6360, 840, 670, 480, 17, u"Export active Load List",
         u"export"},
        {&frmKivoControls::moveButton, u"moveButton", 3240, 2880, 500, 480, 18,
         u"Add Sound Image from Library to Load List", u"move"},
        {&frmKivoControls::upButton, u"upButton", 6840, 2400, 500, 480, 19, u"Shift current Sound Image up", u"up"},
        {&frmKivoControls::downButton, u"downButton", 6840, 2880, 500, 480, 20, u"Shift current Sound Image down",
         u"down"},
        {&frmKivoControls::xButton, u"xButton", 6840, 3360, 500, 480, 21, u"Remove current Sound Image from load list",
         u"X"},
    }};
    return table;
}

void frmKivoControls::setupControls(QMainWindow &window)
{
    window.setObjectName(QStringLiteral("frmKivo"));
    window.setWindowTitle(programTitle());
    window.setWindowIcon(QIcon(artwork(QStringLiteral("icon"))));
    window.setFont(designFont(QStringLiteral("Tahoma"), 8.25));
    QWidget &client = createClientArea(window);
    createControls(client);
    createPictureBoxes(client);
    setTabOrder();
}

QWidget &frmKivoControls::createClientArea(QMainWindow &window)
{
    auto *client = new QWidget(&window);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(twips(0, 0, 11070, 5550).size());
    QPalette background = client->palette();
    background.setBrush(QPalette::Window, QBrush(artwork(QStringLiteral("background"))));
    client->setPalette(background);
    client->setAutoFillBackground(true);
    window.setCentralWidget(client);
    return *client;
}

void frmKivoControls::createControls(QWidget &client)
{
    // The pictures lie on the window's background, below every control.
    struct Image {
        QStringView name;
        int left, top, width, height;
    };
    for (const Image &image : {Image{u"Image4", 240, 300, 1350, 360}, Image{u"Image5", 3840, 300, 1575, 360},
                               Image{u"Image3", 8520, 1560, 990, 255}, Image{u"Image2", 8640, 2400, 795, 270},
                               Image{u"Image1", 240, 4920, 6510, 450}}) {
        auto *label
            = place<QLabel>(&client, image.name.toString(), twips(image.left, image.top, image.width, image.height));
        label->setPixmap(artwork(image.name.toString()));
        label->setScaledContents(true);
    }

    objLibrary = place<DropListBox>(&client, QStringLiteral("objLibrary"), twips(240, 1440, 2910, 3380));
    objLibrary->setSelectionMode(QAbstractItemView::ExtendedSelection);
    // Rows of one line each, so the list need not measure every row of a large
    // library; a long name is cut off at the right edge, as in the platform's list box.
    objLibrary->setUniformItemSizes(true);
    objLibrary->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    objLibrary->setFont(designFont(QStringLiteral("Arial"), 9.75));
    objLibrary->setToolTip(QStringLiteral("Kivo Master Library"));
    setColour(*objLibrary, QPalette::Base, listGrey);

    objLoadList = place<DropListBox>(&client, QStringLiteral("objLoadList"), twips(4200, 1800, 2535, 3030));
    objLoadList->setFont(designFont(QStringLiteral("Arial"), 9.75));
    objLoadList->setToolTip(QStringLiteral("Your active Load List"));
    locationRows(*objLoadList);
    setColour(*objLoadList, QPalette::Base, listGrey);

    cboActiveList = place<QComboBox>(&client, QStringLiteral("cboActiveList"), twips(3840, 1440, 2895, 315));
    cboActiveList->setFont(designFont(QStringLiteral("Tahoma"), 8.25, true));
    cboActiveList->setToolTip(QStringLiteral("Your active Load List"));
    setColour(*cboActiveList, QPalette::Base, Qt::white);

    lstNumbers = place<QListWidget>(&client, QStringLiteral("lstNumbers"), twips(3840, 1800, 375, 3030));
    lstNumbers->setFont(designFont(QStringLiteral("Tahoma"), 9.75));
    lstNumbers->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    lstNumbers->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    locationRows(*lstNumbers);
    setColour(*lstNumbers, QPalette::Base, Qt::white);

    cboDevice = place<QComboBox>(&client, QStringLiteral("cboDevice"), twips(7680, 120, 3015, 315));
    setColour(*cboDevice, QPalette::Base, Qt::white);

    objProgressBar = place<QProgressBar>(&client, QStringLiteral("objProgressBar"), twips(7440, 5040, 3255, 405));
    objProgressBar->setRange(0, 120);
    objProgressBar->setValue(0);
    objProgressBar->setTextVisible(false);
    objProgressBar->hide();

    objStatusBar = place<QLabel>(&client, QStringLiteral("objStatusBar"), twips(360, 5040, 6255, 195));
    objStatusBar->setFont(designFont(QStringLiteral("Arial"), 8.25));
    setColour(*objStatusBar, QPalette::WindowText, Qt::white);

    lblPath = place<QLabel>(&client, QStringLiteral("lblPath"), twips(7560, 1800, 3015, 465));
    lblPath->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    lblTag = place<QLabel>(&client, QStringLiteral("lblTag"), twips(7560, 2760, 3015, 465));
    lblTag->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    Picture3 = place<QLabel>(&client, QStringLiteral("Picture3"), twips(7400, 3720, 3680, 1310));
    Picture3->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Picture3->setPixmap(artwork(QStringLiteral("Picture3")));
    Picture3->setFocusPolicy(Qt::TabFocus);
}

void frmKivoControls::createPictureBoxes(QWidget &client)
{
    static const QStringList keys{QStringLiteral("add"),  QStringLiteral("delete"),  QStringLiteral("new"),
                                  QStringLiteral("save"), QStringLiteral("import"),  QStringLiteral("export"),
                                  QStringLiteral("move"), QStringLiteral("up"),      QStringLiteral("down"),
                                  QStringLiteral("X"),    QStringLiteral("transfer")};
    for (const QString &key : keys) {
        for (const QString &suffix : {QString(), QStringLiteral("_01"), QStringLiteral("_02")})
            ImageList1.insert(key + suffix, artwork(key + suffix));
    }
    for (const PictureBox &button : pictureBoxes()) {
        auto *box = place<QLabel>(&client, button.name.toString(),
                                  twips(button.left, button.top, button.width, button.height));
        box->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        box->setToolTip(button.toolTip.toString());
        box->setPixmap(ImageList1.value(button.key.toString()));
        box->setFocusPolicy(Qt::TabFocus);
        this->*button.box = box;
    }
}

void frmKivoControls::setTabOrder()
{
    QList<std::pair<int, QWidget *>> order{{0, objLibrary}, {1, objLoadList}, {2, cboActiveList},
                                           {3, lstNumbers}, {4, cboDevice},   {7, Picture3}};
    for (const PictureBox &button : pictureBoxes())
        order.append({button.tab, this->*button.box});
    std::sort(order.begin(), order.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1].second, order[i].second);
}

// A name is centred in a row of its font's line height, so its base line lies the
// font's ascent below the top of its grid row. Each number ends its own font's
// descent below that line, so that it stands on the line of the name beside it.
void frmKivoControls::numberLocations()
{
    const int baseLine = QFontMetrics(objLoadList->font()).ascent();
    const QSize row(lstNumbers->gridSize().width(), baseLine + QFontMetrics(lstNumbers->font()).descent());
    lstNumbers->clear();
    for (int n = 1; n <= 12; ++n) {
        auto *number = new QListWidgetItem(QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')), lstNumbers);
        number->setTextAlignment(Qt::AlignLeft | Qt::AlignBottom);
        number->setSizeHint(row);
    }
}

} // namespace kivo
