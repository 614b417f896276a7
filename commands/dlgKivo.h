#pragma once

#include <QDialog>
#include <QString>
#include <QStringView>

class QLabel;
class QLineEdit;
class QPushButton;

namespace kivo {

// The action codes with which one answer settles the remaining questions of a batch.
inline constexpr QStringView OkAll = u"O_ALL";
inline constexpr QStringView CancelAll = u"C_ALL";

// The program's one dialog that asks for a typed answer: two message lines, the
// answer with its default, and Ok / Cancel for this question or for all the rest.
// Closing it unloads it; the next question loads it afresh with empty fields.
class dlgKivo final : public QDialog {
    Q_OBJECT

public:
    dlgKivo();
    ~dlgKivo() override;

    // The answer, trimmed of blanks; empty when the user cancelled.
    QString strRetVal() const { return m_strRetVal; }
    void setStrRetVal(const QString &value) { m_strRetVal = value; }
    // Empty after Ok or Cancel, OkAll or CancelAll after the buttons for all, CancelAll
    // after the dialog was closed.
    QString strAll() const { return m_strAll; }
    void setStrAll(const QString &value) { m_strAll = value; }

    // Prepares the next question without showing it; the answer, the action code and
    // the state of the buttons for all stay as they are.
    void initText(const QString &strTitle, const QString &strDefaultVal, const QString &strMessage1,
                  const QString &strMessage2 = {});
    // Offers (true) or greys out (false) the buttons for all, until the next call.
    void showAll(bool blnShow);
    // Shut-down: closes the dialog as its close box does (records "" and "C_ALL", marks it unloaded).
    void unload();

protected:
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void ensureLoaded();
    void clearDialog();
    void answer(bool blnAccept, QStringView strAction);

    QLabel *m_lblLabel1;
    QLabel *m_lblLabel2;
    QLineEdit *m_txtText;
    QPushButton *m_btnOkAll;
    QPushButton *m_btnOk;
    QPushButton *m_btnCancel;
    QPushButton *m_btnCancelAll;
    QString m_strRetVal;
    QString m_strAll;
    bool m_loaded = false;
};

// The program-wide dialog; the main window's start-up sets it to &getDialog(). Tests set it themselves.
extern dlgKivo *gDialog;

// Asks one question through gDialog, shown modally through the modal seam, owned by the
// window active at that moment; returns the trimmed answer, empty = cancelled. The
// caller reads gDialog->strAll() when it needs the action code.
QString askText(const QString &strTitle, const QString &strDefault, const QString &strMessage1,
                const QString &strMessage2 = {});

// The one dialog, created on first request and destroyed when the application quits.
dlgKivo &getDialog();

// The dialog that askText shows, whose buttons for all and action code a batch uses:
// gDialog where it is set, the one dialog otherwise.
dlgKivo &sharedDialog();

} // namespace kivo
