#pragma once

#include <QHash>
#include <QPixmap>
#include <QString>
#include <QStringView>

#include <array>

class QComboBox;
class QLabel;
class QListWidget;
class QMainWindow;
class QProgressBar;
class QWidget;

namespace kivo {

class DropListBox;

// The main window's controls as designed: their kinds, places, fonts, colours and
// tooltips, the pictures of the picture buttons and the tab order. The window takes
// them over as its own and gives them their behaviour.
class frmKivoControls {
protected:
    frmKivoControls() = default;
    ~frmKivoControls() = default;
    frmKivoControls(const frmKivoControls &) = delete;
    frmKivoControls &operator=(const frmKivoControls &) = delete;

    // Names the window and creates its controls in its client area.
    void setupControls(QMainWindow &window);
    // Fills lstNumbers with the twelve location numbers, "01" to "12", each on the
    // line of the location beside it.
    void numberLocations();

    // A picture box that behaves as a button, with the key of its pictures in ImageList1.
    struct PictureBox {
        QLabel *frmKivoControls::*box;
        QStringView name;
        int left, top, width, height;
        int tab;
        QStringView toolTip;
        QStringView key;
    };
    // In the order of the window's graphicButtons.
    static const std::array<PictureBox, 12> &pictureBoxes();

    DropListBox *objLibrary = nullptr;
    DropListBox *objLoadList = nullptr;
    QComboBox *cboActiveList = nullptr;
    QListWidget *lstNumbers = nullptr;
    QComboBox *cboDevice = nullptr;
    QProgressBar *objProgressBar = nullptr;
    QLabel *objStatusBar = nullptr;
    QLabel *lblPath = nullptr;
    QLabel *lblTag = nullptr;
    QHash<QString, QPixmap> ImageList1;
    QLabel *Picture3 = nullptr;

    QLabel *TransferButton = nullptr;
    QLabel *addButton = nullptr;
    QLabel *deleteButton = nullptr;
    QLabel *newButton = nullptr;
    QLabel *deleteLLbutton = nullptr;
    QLabel *saveButton = nullptr;
    QLabel *importButton = nullptr;
    QLabel *exportButton = nullptr;
    QLabel *moveButton = nullptr;
    QLabel *upButton = nullptr;
    QLabel *downButton = nullptr;
    QLabel *xButton = nullptr;

private:
    static QWidget &createClientArea(QMainWindow &window);
    void createControls(QWidget &client);
    void createPictureBoxes(QWidget &client);
    void setTabOrder();
};

} // namespace kivo
