#pragma once

#include "commands/ApiGlobal.h"

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

namespace kivo {

// The About box: the program's picture, title, version and legal notice, and a
// button that starts the system's information program. It keeps nothing between
// showings; the About command makes a new one each time.
class frmAbout : public QDialog {
    Q_OBJECT

public:
    explicit frmAbout(QWidget *owner = nullptr);

    // Starts the system information program that the machine-wide settings name, or
    // tells the user that there is none.
    void StartSysInfo();
    // Reads one value of a key of the settings store into KeyVal: text as it is, a
    // 32-bit number as "&h" and its bytes in hexadecimal, any other kind leaves KeyVal
    // as it was. False, with KeyVal empty, when the key or value is missing or the
    // text does not fit the 1,024-byte buffer that callers rely on.
    static bool GetKeyValue(RootKey KeyRoot, const QString &KeyName, const QString &SubKeyRef,
                            QString &KeyVal);

private:
    void cmdOK_Click();
    void cmdSysInfo_Click();

    QLabel *m_lblTitle;
    QLabel *m_lblVersion;
    QLabel *m_lblDisclaimer;
    QFrame *m_Line1[2];
    QPushButton *m_cmdOK;
    QPushButton *m_cmdSysInfo;
};

} // namespace kivo
