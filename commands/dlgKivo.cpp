#include "dlgKivo.h"

#include "FormGeometry.h"
#include "model/Global.h"
#include "platform/ModalSeam.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

namespace kivo {

dlgKivo *gDialog = nullptr;

namespace {

// Messages arrive with CR LF line breaks; a label breaks its lines at LF.
QString labelText(const QString &message)
{
    QString text = message;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

QLabel *placeLabel(QWidget *parent, const QString &name, const QRect &geometry)
{
    auto *label = place<QLabel>(parent, name, geometry);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // The messages carry names and paths, which must show as typed, never as markup.
    label->setTextFormat(Qt::PlainText);
    return label;
}

QPushButton *placeButton(QWidget *parent, const QString &name, const QString &caption, int left)
{
    auto *button = place<QPushButton>(parent, name, twips(left, 1560, 1215, 375));
    button->setText(caption);
    return button;
}

} // namespace

dlgKivo::dlgKivo()
    : m_lblLabel1(placeLabel(this, QStringLiteral("lblLabel1"), twips(120, 120, 5535, 390)))
    , m_lblLabel2(placeLabel(this, QStringLiteral("lblLabel2"), twips(120, 480, 5535, 390)))
    , m_txtText(place<QLineEdit>(this, QStringLiteral("txtText"), twips(120, 960, 5535, 325)))
    , m_btnOkAll(placeButton(this, QStringLiteral("btnOkAll"), QStringLiteral("Ok &All"), 120))
    , m_btnOk(placeButton(this, QStringLiteral("btnOk"), QStringLiteral("&Ok"), 1560))
    , m_btnCancel(placeButton(this, QStringLiteral("btnCancel"), QStringLiteral("&Cancel"), 3000))
    , m_btnCancelAll(placeButton(this, QStringLiteral("btnCancelAll"), QStringLiteral("Cancel A&ll"), 4440))
{
    setFixedSize(twips(0, 0, 5790, 2130).size());
    paintFormBackground(*this);
    m_btnOk->setDefault(true);

    setTabOrder(m_txtText, m_btnOkAll);
    setTabOrder(m_btnOkAll, m_btnOk);
    setTabOrder(m_btnOk, m_btnCancel);
    setTabOrder(m_btnCancel, m_btnCancelAll);

    connect(m_btnOk, &QPushButton::clicked, this, [this] { answer(true, {}); });
    connect(m_btnCancel, &QPushButton::clicked, this, [this] { answer(false, {}); });
    connect(m_btnOkAll, &QPushButton::clicked, this, [this] { answer(true, OkAll); });
    connect(m_btnCancelAll, &QPushButton::clicked, this, [this] { answer(false, CancelAll); });

    ensureLoaded();
}

dlgKivo::~dlgKivo()
{
    if (gDialog == this)
        gDialog = nullptr;
}

void dlgKivo::initText(const QString &strTitle, const QString &strDefaultVal, const QString &strMessage1,
                       const QString &strMessage2)
{
    ensureLoaded();
    clearDialog();
    m_lblLabel1->setText(labelText(strMessage1));
    m_lblLabel2->setText(labelText(strMessage2));
    setWindowTitle(strTitle);
    m_txtText->setText(strDefaultVal);
}

void dlgKivo::showAll(bool blnShow)
{
    ensureLoaded();
    m_btnOkAll->setEnabled(blnShow);
    m_btnCancelAll->setEnabled(blnShow);
}

void dlgKivo::unload()
{
    close();
}

void dlgKivo::changeEvent(QEvent *event)
{
    // Selecting the whole default answer lets the first key typed replace it.
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        m_txtText->selectAll();
        m_txtText->setFocus(Qt::ActiveWindowFocusReason);
    }
    QDialog::changeEvent(event);
}

void dlgKivo::closeEvent(QCloseEvent *event)
{
    // Closing is never refused: it cancels the whole batch and unloads the dialog.
    m_strRetVal.clear();
    m_strAll = CancelAll.toString();
    m_loaded = false;
    QDialog::closeEvent(event);
}

void dlgKivo::keyPressEvent(QKeyEvent *event)
{
    // Escape answers as the Cancel button does, not as the close box.
    if (event->matches(QKeySequence::Cancel)) {
        m_btnCancel->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

// Loading: a dialog that was closed comes back with empty fields.
void dlgKivo::ensureLoaded()
{
    if (m_loaded)
        return;
    m_strRetVal.clear();
    m_strAll.clear();
    clearDialog();
    m_loaded = true;
}

void dlgKivo::clearDialog()
{
    setWindowTitle(QString());
    m_txtText->clear();
    m_lblLabel1->clear();
    m_lblLabel2->clear();
}

void dlgKivo::answer(bool blnAccept, QStringView strAction)
{
    m_strRetVal = blnAccept ? trimBlanks(m_txtText->text()) : QString();
    m_strAll = strAction.toString();
    done(blnAccept ? Accepted : Rejected);
}

QString askText(const QString &strTitle, const QString &strDefault, const QString &strMessage1,
                const QString &strMessage2)
{
    if (gDialog == nullptr)
        gDialog = &getDialog();
    dlgKivo &dialog = *gDialog;
    dialog.initText(strTitle, strDefault, strMessage1, strMessage2);
    QWidget *owner = QApplication::activeWindow();
    dialog.setParent(owner == &dialog ? nullptr : owner, dialog.windowFlags());
    ModalSeam::current().execDialog(dialog);
    // Owned only while it is shown, so that it never goes down with that window.
    dialog.setParent(nullptr, dialog.windowFlags());
    return dialog.strRetVal();
}

dlgKivo &getDialog()
{
    static QPointer<dlgKivo> slot;
    if (slot.isNull()) {
        slot = new dlgKivo;
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, slot.data(), &QObject::deleteLater);
    }
    return *slot;
}

dlgKivo &sharedDialog()
{
    return gDialog != nullptr ? *gDialog : getDialog();
}

} // namespace kivo
