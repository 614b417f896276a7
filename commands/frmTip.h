#pragma once

#include <QDialog>
#include <QPointer>

class QCheckBox;
class QPlainTextEdit;
class QPushButton;

namespace kivo {

// The reminder before the active load list is written to the unit: the sound
// images sent replace those in the unit's locations. OK goes on, Cancel or the
// close box stops; the tick box turns the reminder off for later transfers.
class frmTip : public QDialog {
    Q_OBJECT

public:
    frmTip();

    // The window that owns the reminder while it is shown.
    void setMainForm(QWidget *owner);
    QWidget *mainForm() const { return m_mainForm; }

    // Shows the reminder modally and returns when it has closed; returns at once,
    // answering go, when the user has turned it off.
    void showTip();
    // The answer: true = go on with the transfer.
    bool blnGo() const noexcept { return m_blnGo; }

private:
    void cmdOKClick();
    void btnCancelClick();

    QPlainTextEdit *m_txtMessage;
    QCheckBox *m_chkLoadTipsAtStartup;
    QPushButton *m_cmdOK;
    QPushButton *m_btnCancel;
    QPointer<QWidget> m_mainForm;
    bool m_blnGo = false;
};

} // namespace kivo
