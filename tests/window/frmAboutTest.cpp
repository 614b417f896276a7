#include "window/frmAbout.h"

#include "FormControls.h"
#include "ScriptedModalSeam.h"
#include "TemporarySettings.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

using namespace kivo;
using namespace Qt::StringLiterals;
using kivo::test::control;
using kivo::test::ScriptedModalSeam;
using kivo::test::TemporarySettings;

namespace {

const QString unavailable = u"System Information Is Unavailable At This Time"_s;

// Writes a small program that leaves its name in the marker file when it runs.
bool writeProgram(const QString &file, const QString &marker, const QString &name)
{
    QFile program(file);
    if (!program.open(QIODevice::WriteOnly))
        return false;
    const QByteArray target = QFile::encodeName(marker);
    program.write("#!/bin/sh\nprintf '" + name.toUtf8() + "' > '" + target + ".new' && mv '" + target
                  + ".new' '" + target + "'\n");
    program.close();
    return program.setPermissions(program.permissions() | QFileDevice::ExeOwner);
}

QByteArray contentOf(const QString &file)
{
    QFile marker(file);
    return marker.open(QIODevice::ReadOnly) ? marker.readAll() : QByteArray();
}

} // namespace

class frmAboutTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void presentsTheProgram();
    void systemInfo_data();
    void systemInfo();
    void GetKeyValue_data();
    void GetKeyValue();
    void okClosesTheBox();

private:
    // Stores a machine-wide value under its key's path, as the installation of the
    // system information program would.
    void storeMachineValue(const QString &product, const QString &name, const QVariant &value) const;

    std::optional<TemporarySettings> m_settings;
    std::optional<QTemporaryDir> m_programs;
};

void frmAboutTest::initTestCase()
{
    m_settings.emplace();
    QVERIFY(m_settings->isValid());
}

void frmAboutTest::init()
{
    m_settings->clear();
    m_programs.emplace();
    QVERIFY(m_programs->isValid());
}

void frmAboutTest::cleanup()
{
    QVERIFY2(QApplication::topLevelWidgets().isEmpty(), "a window outlived its test");
}

void frmAboutTest::storeMachineValue(const QString &product, const QString &name, const QVariant &value) const
{
    QSettings settings(m_settings->systemFolder(0) + u"/Microsoft/"_s + product + u".conf"_s,
                       QSettings::IniFormat);
    settings.setValue(name, value);
    settings.sync();
}

void frmAboutTest::presentsTheProgram()
{
    frmAbout about;

    QCOMPARE(about.windowTitle(), u"About Kivo Rudovaz"_s);
    QCOMPARE(about.size(), QSize(391, 293));
    QCOMPARE(control<QLabel>(about, u"lblTitle"_s).text(), u"Kivo Rudovaz"_s);
    QCOMPARE(control<QLabel>(about, u"lblVersion"_s).text(), u"Version 1.0"_s);
    const QString disclaimer = control<QLabel>(about, u"lblDisclaimer"_s).text();
    QVERIFY2(disclaimer.startsWith(u"Warning: "_s), qPrintable(disclaimer));
    QVERIFY2(disclaimer.endsWith(u"Copyright \u00A9 Tulvex. All rights reserved."_s), qPrintable(disclaimer));
    QCOMPARE(control<QPushButton>(about, u"cmdOK"_s).text(), u"OK"_s);
    QCOMPARE(control<QPushButton>(about, u"cmdSysInfo"_s).text(), u"&System Info..."_s);
}

void frmAboutTest::systemInfo_data()
{
    // "first" and "second" stand for a program in the temporary folder, "folder" for
    // the folder that holds MSINFO32.EXE when there is one; empty: no value stored.
    QTest::addColumn<QString>("pathValue");
    QTest::addColumn<QString>("locationValue");
    QTest::addColumn<bool>("msinfoPresent");
    QTest::addColumn<QByteArray>("started");
    QTest::addColumn<QStringList>("messages");

    const QStringList none;
    const QStringList told{unavailable};
    QTest::newRow("first value") << u"first"_s << u"folder"_s << true << QByteArray("first") << none;
    QTest::newRow("only the second value, its file present")
        << QString() << u"folder"_s << true << QByteArray("second") << none;
    QTest::newRow("only the second value, no file") << QString() << u"folder"_s << false << QByteArray() << told;
    QTest::newRow("neither value") << QString() << QString() << true << QByteArray() << told;
    QTest::newRow("first value names no program")
        << u"missing"_s << u"folder"_s << true << QByteArray() << told;
    QTest::newRow("second value names no folder")
        << QString() << u"missing"_s << false << QByteArray() << told;
}

void frmAboutTest::systemInfo()
{
    QFETCH(QString, pathValue);
    QFETCH(QString, locationValue);
    QFETCH(bool, msinfoPresent);
    QFETCH(QByteArray, started);
    QFETCH(QStringList, messages);

    const QString marker = m_programs->filePath(u"started"_s);
    const QString folder = m_programs->filePath(u"tools"_s);
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(writeProgram(m_programs->filePath(u"first"_s), marker, u"first"_s));
    if (msinfoPresent)
        QVERIFY(writeProgram(folder + u"/MSINFO32.EXE"_s, marker, u"second"_s));
    const auto placed = [&](const QString &token) {
        return token == u"folder" ? folder : m_programs->filePath(token);
    };
    if (!pathValue.isEmpty())
        storeMachineValue(u"Shared Tools"_s, u"MSINFO/PATH"_s, placed(pathValue));
    if (!locationValue.isEmpty())
        storeMachineValue(u"Shared Tools Location"_s, u"MSINFO"_s, placed(locationValue));
    ScriptedModalSeam seam;
    frmAbout about;
    about.show();

    QTest::mouseClick(&control<QPushButton>(about, u"cmdSysInfo"_s), Qt::LeftButton);

    QCOMPARE(seam.messageTexts(), messages);
    for (const MessageRequest &message : seam.messages())
        QVERIFY(message.title.isEmpty());
    QVERIFY(about.isVisible());
    if (started.isEmpty())
        QVERIFY(!QFile::exists(marker));
    else
        QTRY_COMPARE(contentOf(marker), started);
}

void frmAboutTest::GetKeyValue_data()
{
    QTest::addColumn<QVariant>("stored"); // invalid: no value
    QTest::addColumn<bool>("found");
    QTest::addColumn<QString>("keyVal"); // the caller passes "as before"

    const auto number = [](quint16 n) { return QVariant::fromValue(n); };
    QTest::newRow("text") << QVariant(u"/usr/bin/sysinfo"_s) << true << u"/usr/bin/sysinfo"_s;
    QTest::newRow("empty text") << QVariant(QString()) << true << QString();
    QTest::newRow("no value") << QVariant() << false << QString();
    QTest::newRow("number, a byte below 16") << number(0x0A05) << true << u"&h00A5"_s;
    QTest::newRow("number 0") << number(0) << true << u"&h0000"_s;
    QTest::newRow("number with full bytes") << number(0xFF10) << true << u"&h00FF10"_s;
    QTest::newRow("list of texts") << QVariant(QStringList{u"a"_s, u"b"_s}) << true << u"as before"_s;
    QTest::newRow("text filling the buffer") << QVariant(QString(1023, u'x')) << true << QString(1023, u'x');
    QTest::newRow("text too long for the buffer") << QVariant(QString(1024, u'x')) << false << QString();
}

void frmAboutTest::GetKeyValue()
{
    QFETCH(QVariant, stored);
    QFETCH(bool, found);
    QFETCH(QString, keyVal);

    if (stored.isValid())
        storeMachineValue(u"Shared Tools"_s, u"MSINFO/PATH"_s, stored);
    QString value = u"as before"_s;

    QCOMPARE(frmAbout::GetKeyValue(RootKey::HKEY_LOCAL_MACHINE, u"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"_s,
                                   u"PATH"_s, value),
             found);
    QCOMPARE(value, keyVal);
}

void frmAboutTest::okClosesTheBox()
{
    frmAbout about;
    about.show();

    QTest::mouseClick(&control<QPushButton>(about, u"cmdOK"_s), Qt::LeftButton);

    QVERIFY(!about.isVisible());
    QCOMPARE(about.result(), int(QDialog::Accepted));
}

QTEST_MAIN(frmAboutTest)
#include "frmAboutTest.moc"
