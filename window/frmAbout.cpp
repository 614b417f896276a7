#include "frmAbout.h"

#include "Artwork.h"
#include "Version.h"
#include "commands/FormGeometry.h"
#include "model/FileProxy.h"
#include "model/Global.h"
#include "platform/ModalSeam.h"

#include <QFont>
#include <QFrame>
#include <QLabel>
#include <QPalette>
#include <QProcess>
#include <QPushButton>

namespace kivo {

namespace {

constexpr QSize formSize(391, 293);
// What the registry's value query could hand back: a text and its terminator.
constexpr qsizetype valueBufferBytes = 1024;

QString disclaimerText()
{
    return QStringLiteral("Warning: this program is protected by copyright law and international ")
           + QStringLiteral("treaties. Copying or distributing it, in whole or in part, without the ")
           + QStringLiteral("maker's permission may lead to civil and criminal penalties.\n\n")
           + QStringLiteral("Copyright \u00A9 Tulvex. All rights reserved.");
}

// A 32-bit number as the About box has always shown it: "&h", then each byte from
// the last to the first in hexadecimal, without leading zeros.
QString dwordText(quint32 value)
{
    QString text = QStringLiteral("&h");
    for (int shift = 24; shift >= 0; shift -= 8)
        text += QString::number((value >> shift) & 0xFFu, 16).toUpper();
    return text;
}

// Starts the program with its own window; false when it could not be started.
bool startProgram(const QString &program)
{
    return !program.isEmpty() && QProcess::startDetached(program, {});
}

} // namespace

frmAbout::frmAbout(QWidget *owner)
    : QDialog(owner)
    , m_lblTitle(place<QLabel>(this, QStringLiteral("lblTitle"), {76, 18, 300, 30}))
    , m_lblVersion(place<QLabel>(this, QStringLiteral("lblVersion"), {76, 50, 300, 20}))
    , m_lblDisclaimer(place<QLabel>(this, QStringLiteral("lblDisclaimer"), {16, 160, 256, 126}))
    , m_Line1{place<QFrame>(this, QStringLiteral("Line1_0"), {12, 148, 367, 1}),
              place<QFrame>(this, QStringLiteral("Line1_1"), {12, 149, 367, 1})}
    , m_cmdOK(place<QPushButton>(this, QStringLiteral("cmdOK"), {284, 166, 94, 28}))
    , m_cmdSysInfo(place<QPushButton>(this, QStringLiteral("cmdSysInfo"), {284, 204, 94, 28}))
{
    setWindowTitle(QStringLiteral("About ") + programTitle());
    setFixedSize(formSize);
    const QPixmap picture = artwork(QStringLiteral("about"));
    if (!picture.isNull()) {
        QPalette background = palette();
        background.setBrush(QPalette::Window, picture);
        setPalette(background);
        setAutoFillBackground(true);
    }

    QFont titleFont = m_lblTitle->font();
    titleFont.setPointSizeF(14);
    titleFont.setBold(true);
    m_lblTitle->setFont(titleFont);
    m_lblTitle->setText(programTitle());
    m_lblVersion->setText(versionText());
    m_lblDisclaimer->setText(disclaimerText());
    m_lblDisclaimer->setWordWrap(true);
    m_lblDisclaimer->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Two lines, one dark and one light, draw an etched separator.
    m_Line1[0]->setFrameShape(QFrame::HLine);
    m_Line1[0]->setFrameShadow(QFrame::Plain);
    m_Line1[0]->setForegroundRole(QPalette::Mid);
    m_Line1[1]->setFrameShape(QFrame::HLine);
    m_Line1[1]->setFrameShadow(QFrame::Plain);
    m_Line1[1]->setForegroundRole(QPalette::Light);
    m_cmdOK->setText(QStringLiteral("OK"));
    m_cmdOK->setDefault(true);
    m_cmdSysInfo->setText(QStringLiteral("&System Info..."));
    setTabOrder(m_cmdOK, m_cmdSysInfo);

    connect(m_cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    connect(m_cmdSysInfo, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);
}

void frmAbout::cmdOK_Click()
{
    accept();
}

void frmAbout::cmdSysInfo_Click()
{
    StartSysInfo();
}

void frmAbout::StartSysInfo()
{
    const auto machine = RootKey::HKEY_LOCAL_MACHINE;
    QString SysInfoPath;
    bool started = false;
    if (GetKeyValue(machine, QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"),
                    QStringLiteral("PATH"), SysInfoPath)) {
        started = startProgram(SysInfoPath);
    } else if (GetKeyValue(machine, QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location"),
                           QStringLiteral("MSINFO"), SysInfoPath)) {
        const QString program = SysInfoPath + pathSeparator() + QStringLiteral("MSINFO32.EXE");
        started = !fileNotExist(program) && startProgram(program);
    }
    if (!started)
        msgBox(QStringLiteral("System Information Is Unavailable At This Time"));
}

bool frmAbout::GetKeyValue(RootKey KeyRoot, const QString &KeyName, const QString &SubKeyRef, QString &KeyVal)
{
    const QVariant value = queryRegistryValue(KeyRoot, KeyName, SubKeyRef);
    const bool fits =
        value.typeId() != QMetaType::QString || value.toString().toLocal8Bit().size() < valueBufferBytes;
    if (!value.isValid() || !fits) {
        KeyVal.clear();
        return false;
    }
    if (value.typeId() == QMetaType::QString)
        KeyVal = value.toString();
    else if (isStoredNumber(value))
        KeyVal = dwordText(static_cast<quint32>(value.toLongLong()));
    return true;
}

} // namespace kivo
