#include "frmTip.h"

#include "ApiGlobal.h"
#include "FormGeometry.h"
#include "platform/ModalSeam.h"

#include <QCheckBox>
#include <QPlainTextEdit>
#include <QPushButton>

namespace kivo {

namespace {

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
    paintFormBackground(*this);

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
