#include "frmTip.h"

#include "ApiGlobal.h"
#include "platform/ModalSeam.h"

#include <QCheckBox>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>

namespace kivo {

namespace {

// Positions and sizes are laid out in twips, 15 to the pixel.
QRect twips(int left, int top, int width, int height)
{
    constexpr int perPixel = 15;
    return {left / perPixel, top / perPixel, width / perPixel, height / perPixel};
}

QString showWarningName()
{
    return QStringLiteral("Show Warning");
}

QString warningText()
{
    return QStringLiteral("The Sound Images that you have selected to burn ")
           + QStringLiteral("onto your Kivo will effectively replace your existing Sound Images ")
           + QStringLiteral("within the respective locations. This will accordingly alter ")
           + QStringLiteral("the \"sound\" of your already programmed presets.");
}

template <typename Control>
Control *place(QWidget *parent, const QString &name, const QRect &geometry)
{
    auto *control = new Control(parent);
    control->setObjectName(name);
    control->setGeometry(geometry);
    return control;
}

} // namespace

frmTip::frmTip()
    : m_txtMessage(place<QPlainTextEdit>(this, QStringLiteral("txtMessage"), twips(240, 240, 3615, 1815)))
    , m_chkLoadTipsAtStartup(
          place<QCheckBox>(this, QStringLiteral("chkLoadTipsAtStartup"), twips(240, 2280, 3735, 315)))
    , m_cmdOK(place<QPushButton>(this, QStringLiteral("cmdOK"), twips(4080, 240, 1095, 375)))
    , m_btnCancel(place<QPushButton>(this, QStringLiteral("btnCancel"), twips(4080, 840, 1095, 375)))
{
    setWindowTitle(QStringLiteral("Reminder"));
    setFixedSize(twips(0, 0, 5400, 2685).size());
    QPalette background = palette();
    background.setColor(QPalette::Window, QColor(0xE0, 0xE0, 0xE0));
    setPalette(background);
    setAutoFillBackground(true);

    m_txtMessage->setReadOnly(true);
    m_chkLoadTipsAtStartup->setText(QStringLiteral("&Don't show me this again."));
    m_cmdOK->setText(QStringLiteral("OK"));
    m_cmdOK->setDefault(true);
    m_btnCancel->setText(QStringLiteral("Cancel"));

    setTabOrder(m_cmdOK, m_chkLoadTipsAtStartup);
    setTabOrder(m_chkLoadTipsAtStartup, m_txtMessage);
    setTabOrder(m_txtMessage, m_btnCancel);

    connect(m_cmdOK, &QPushButton::clicked, this, &frmTip::cmdOKClick);
    connect(m_btnCancel, &QPushButton::clicked, this, &frmTip::btnCancelClick);
}

void frmTip::setMainForm(QWidget *owner)
{
    m_mainForm = owner;
    setParent(owner, windowFlags());
}

void frmTip::showTip()
{
    m_blnGo = false;
    m_chkLoadTipsAtStartup->setChecked(false);
    if (getRegistryValue(RootKey::HKEY_CURRENT_USER, showWarningName()) == u"1") {
        m_blnGo = true;
        return;
    }
    m_txtMessage->setPlainText(warningText());
    m_cmdOK->setFocus();
    ModalSeam::current().execDialog(*this);
}

void frmTip::cmdOKClick()
{
    const bool dontShowAgain = m_chkLoadTipsAtStartup->isChecked();
    const QString answer = setRegistryValue(RootKey::HKEY_CURRENT_USER, showWarningName(),
                                            dontShowAgain ? QStringLiteral("1") : QStringLiteral("0"));
    // Only a lost tick changes what the user will see, so only that is worth telling.
    if (dontShowAgain && answer == MarkerFailure)
        msgBox(QStringLiteral("This dialog box will continue to show, ")
               + QStringLiteral("because you have insufficient access to the registry"));
    m_blnGo = true;
    accept();
}

void frmTip::btnCancelClick()
{
    m_blnGo = false;
    reject();
}

} // namespace kivo
