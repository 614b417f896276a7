#include "commands/ApiGlobal.h"

#include "TemporarySettings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTest>

#include <optional>

using namespace kivo;
using namespace Qt::StringLiterals;
using kivo::test::TemporarySettings;

Q_DECLARE_METATYPE(kivo::RootKey)
Q_DECLARE_METATYPE(kivo::KeyState)

namespace {
enum class Where { User, FirstSystem, SecondSystem };
}
Q_DECLARE_METATYPE(Where)

class ApiGlobalTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();

    void getRegistryValue_data();
    void getRegistryValue();
    void setRegistryValue_data();
    void setRegistryValue();
    void queryRegistryValue_data();
    void queryRegistryValue();
    void createRegistryKeyKeepsValues();
    void writeNeedsAWritableKey();
    void registryKeyState_data();
    void registryKeyState();
    void getPersonalFolder_data();
    void getPersonalFolder();

private:
    QString fileOf(Where where) const;

    std::optional<TemporarySettings> m_settings;
};

void ApiGlobalTest::initTestCase()
{
    m_settings.emplace();
    QVERIFY(m_settings->isValid());
    const QSettings user(QSettings::UserScope, QStringLiteral("Tulvex"), QStringLiteral("Kivo Rudovaz"));
    QCOMPARE(user.fileName(), m_settings->userFile());
}

void ApiGlobalTest::init()
{
    m_settings->clear();
}

QString ApiGlobalTest::fileOf(Where where) const
{
    switch (where) {
    case Where::User:
        return m_settings->userFile();
    case Where::FirstSystem:
        return m_settings->systemFile(0);
    case Where::SecondSystem:
        return m_settings->systemFile(1);
    }
    return {};
}

void ApiGlobalTest::getRegistryValue_data()
{
    QTest::addColumn<Where>("where");
    QTest::addColumn<QVariant>("stored"); // invalid: nothing stored
    QTest::addColumn<RootKey>("root");
    QTest::addColumn<QString>("expected");

    const auto user = RootKey::HKEY_CURRENT_USER;
    const auto machine = RootKey::HKEY_LOCAL_MACHINE;
    // A settings file keeps the type of a 16-bit number (Qt writes it as @Variant);
    // a plain int would read back as text.
    const auto number = [](qint16 n) { return QVariant::fromValue(n); };
    QTest::newRow("missing") << Where::User << QVariant() << user << u"NONE"_s;
    QTest::newRow("text") << Where::User << QVariant(u"Bass Set"_s) << user << u"Bass Set"_s;
    QTest::newRow("text 0") << Where::User << QVariant(u"0"_s) << user << u"0"_s;
    QTest::newRow("text -1") << Where::User << QVariant(u"-1"_s) << user << u"-1"_s;
    QTest::newRow("empty text") << Where::User << QVariant(QString()) << user << u"NONE"_s;
    QTest::newRow("text NONE") << Where::User << QVariant(u"NONE"_s) << user << u"NONE"_s;
    QTest::newRow("text beginning with @") << Where::User << QVariant(u"@home"_s) << user << u"@home"_s;
    QTest::newRow("number 0") << Where::User << number(0) << user << u"NONE"_s;
    QTest::newRow("number 5") << Where::User << number(5) << user << u"5"_s;
    QTest::newRow("number -1") << Where::User << number(-1) << user << u"-1"_s;
    QTest::newRow("bytes") << Where::User << QVariant(QByteArray("\x01\x02")) << user << u"NONE"_s;
    QTest::newRow("list of texts") << Where::User << QVariant(QStringList{u"a"_s, u"b"_s}) << user
                                   << u"NONE"_s;
    QTest::newRow("machine-wide") << Where::FirstSystem << QVariant(u"/opt/kivo/"_s) << machine
                                  << u"/opt/kivo/"_s;
    QTest::newRow("machine-wide in a later system folder")
        << Where::SecondSystem << QVariant(u"/opt/kivo/"_s) << machine << u"/opt/kivo/"_s;
    QTest::newRow("machine-wide is not per-user")
        << Where::FirstSystem << QVariant(u"/opt/kivo/"_s) << user << u"NONE"_s;
    QTest::newRow("per-user is not machine-wide")
        << Where::User << QVariant(u"/opt/kivo/"_s) << machine << u"NONE"_s;
}

void ApiGlobalTest::getRegistryValue()
{
    QFETCH(Where, where);
    QFETCH(QVariant, stored);
    QFETCH(RootKey, root);
    QFETCH(QString, expected);

    if (stored.isValid())
        TemporarySettings::store(fileOf(where), u"Path"_s, stored);

    QCOMPARE(kivo::getRegistryValue(root, u"Path"_s), expected);
}

void ApiGlobalTest::setRegistryValue_data()
{
    QTest::addColumn<bool>("keyCreated");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<QString>("readBack");

    const QVariant nothing;
    QTest::newRow("text") << true << QVariant(u"Bass Set"_s) << u"SUCCESS"_s << QVariant(u"Bass Set"_s)
                          << u"Bass Set"_s;
    QTest::newRow("number 12") << true << QVariant(12) << u"SUCCESS"_s << QVariant(u"12"_s) << u"12"_s;
    QTest::newRow("number -1") << true << QVariant(-1) << u"SUCCESS"_s << QVariant(u"-1"_s) << u"-1"_s;
    QTest::newRow("number 0 stays readable") << true << QVariant(0) << u"SUCCESS"_s << QVariant(u"0"_s)
                                             << u"0"_s;
    QTest::newRow("empty text") << true << QVariant(QString()) << u"SUCCESS"_s << QVariant(QString())
                                << u"NONE"_s;
    QTest::newRow("text before the key exists")
        << false << QVariant(u"Bass Set"_s) << u"FAILURE"_s << nothing << u"NONE"_s;
    QTest::newRow("number before the key exists")
        << false << QVariant(3) << u"FAILURE"_s << nothing << u"NONE"_s;
}

void ApiGlobalTest::setRegistryValue()
{
    QFETCH(bool, keyCreated);
    QFETCH(QVariant, value);
    QFETCH(QString, answer);
    QFETCH(QVariant, stored);
    QFETCH(QString, readBack);

    const auto user = RootKey::HKEY_CURRENT_USER;
    if (keyCreated)
        createRegistryKey(user);
    const QString name = u"Loadlist"_s;
    const QString given = value.typeId() == QMetaType::Int ? kivo::setRegistryValue(user, name, value.toInt())
                                                           : kivo::setRegistryValue(user, name, value.toString());

    QCOMPARE(given, answer);
    QCOMPARE(QFileInfo::exists(m_settings->userFile()), keyCreated);
    const QVariant inFile = TemporarySettings::stored(m_settings->userFile(), name);
    QCOMPARE(inFile, stored);
    QCOMPARE(kivo::getRegistryValue(user, name), readBack);
}

void ApiGlobalTest::queryRegistryValue_data()
{
    QTest::addColumn<QString>("file");     // below the first system folder
    QTest::addColumn<QString>("storedAs"); // group and name inside that file
    QTest::addColumn<RootKey>("root");
    QTest::addColumn<QString>("keyName");
    QTest::addColumn<QString>("valueName");
    QTest::addColumn<QVariant>("expected"); // invalid: missing

    const auto machine = RootKey::HKEY_LOCAL_MACHINE;
    const QString tools = u"Microsoft/Shared Tools.conf"_s;
    const QString msinfo = u"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"_s;
    const QVariant found(u"/usr/bin/sysinfo"_s);
    QTest::newRow("key with a group") << tools << u"MSINFO/PATH"_s << machine << msinfo << u"PATH"_s << found;
    QTest::newRow("key without a group")
        << u"Microsoft/Shared Tools Location.conf"_s << u"MSINFO"_s << machine
        << u"SOFTWARE\\Microsoft\\Shared Tools Location"_s << u"MSINFO"_s << found;
    QTest::newRow("groups within groups") << u"Maker/Product.conf"_s << u"One/Two/Value"_s << machine
                                          << u"SOFTWARE\\Maker\\Product\\One\\Two"_s << u"Value"_s << found;
    QTest::newRow("root in small letters")
        << tools << u"MSINFO/PATH"_s << machine << u"Software\\Microsoft\\Shared Tools\\MSINFO"_s << u"PATH"_s
        << found;
    QTest::newRow("the program's own key") << u"Tulvex/Kivo Rudovaz.conf"_s << u"1.0/Path"_s << machine
                                           << u"SOFTWARE\\Tulvex\\Kivo Rudovaz\\1.0"_s << u"Path"_s << found;
    QTest::newRow("value of another group")
        << tools << u"MSINFO/PATH"_s << machine << u"SOFTWARE\\Microsoft\\Shared Tools"_s << u"PATH"_s
        << QVariant();
    QTest::newRow("other value name") << tools << u"MSINFO/PATH"_s << machine << msinfo << u"MSINFO"_s
                                      << QVariant();
    QTest::newRow("not below SOFTWARE") << tools << u"MSINFO/PATH"_s << machine
                                        << u"SYSTEM\\Microsoft\\Shared Tools\\MSINFO"_s << u"PATH"_s << QVariant();
    QTest::newRow("no product in the path")
        << u"Microsoft.conf"_s << u"PATH"_s << machine << u"SOFTWARE\\Microsoft"_s << u"PATH"_s << QVariant();
    QTest::newRow("machine-wide is not per-user")
        << tools << u"MSINFO/PATH"_s << RootKey::HKEY_CURRENT_USER << msinfo << u"PATH"_s << QVariant();
}

void ApiGlobalTest::queryRegistryValue()
{
    QFETCH(QString, file);
    QFETCH(QString, storedAs);
    QFETCH(RootKey, root);
    QFETCH(QString, keyName);
    QFETCH(QString, valueName);
    QFETCH(QVariant, expected);

    QSettings settings(m_settings->systemFolder(0) + u'/' + file, QSettings::IniFormat);
    settings.setValue(storedAs, u"/usr/bin/sysinfo"_s);
    settings.sync();

    QCOMPARE(kivo::queryRegistryValue(root, keyName, valueName), expected);
}

void ApiGlobalTest::createRegistryKeyKeepsValues()
{
    const auto user = RootKey::HKEY_CURRENT_USER;
    createRegistryKey(user);
    QCOMPARE(kivo::setRegistryValue(user, u"Device"_s, 2), u"SUCCESS"_s);

    createRegistryKey(user);

    QCOMPARE(kivo::getRegistryValue(user, u"Device"_s), u"2"_s);
}

void ApiGlobalTest::writeNeedsAWritableKey()
{
    // A folder where the settings file belongs cannot be written as one.
    QVERIFY(QDir().mkpath(m_settings->userFile()));

    QCOMPARE(kivo::setRegistryValue(RootKey::HKEY_CURRENT_USER, u"Device"_s, 2), u"FAILURE"_s);
    QCOMPARE(kivo::getRegistryValue(RootKey::HKEY_CURRENT_USER, u"Device"_s), u"NONE"_s);
}

void ApiGlobalTest::registryKeyState_data()
{
    QTest::addColumn<QByteArray>("content"); // null: no settings file
    QTest::addColumn<bool>("readBefore");
    QTest::addColumn<KeyState>("expected");

    QTest::newRow("no file") << QByteArray() << false << KeyState::Missing;
    QTest::newRow("empty") << QByteArray("") << false << KeyState::Empty;
    QTest::newRow("blank lines and a comment") << QByteArray("\n\n; by hand\n") << true << KeyState::Empty;
    QTest::newRow("a value") << QByteArray("[1.0]\nDevice=2\n") << true << KeyState::HoldsValues;
    QTest::newRow("zeros") << QByteArray(64, '\0') << false << KeyState::Unreadable;
    // The store reports damage to the first reader of a file only.
    QTest::newRow("zeros, read before") << QByteArray(64, '\0') << true << KeyState::Unreadable;
    QTest::newRow("a line without a value, read before")
        << QByteArray("[1.0]\nDevice=2\nPersonal\n") << true << KeyState::Unreadable;
}

// A damaged key is told apart, and a write leaves it as it is for the user to mend.
void ApiGlobalTest::registryKeyState()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, readBefore);
    QFETCH(KeyState, expected);

    const auto user = RootKey::HKEY_CURRENT_USER;
    const QString file = m_settings->userFile();
    if (!content.isNull()) {
        QVERIFY(QDir().mkpath(QFileInfo(file).absolutePath()));
        QFile settings(file);
        QVERIFY(settings.open(QIODevice::WriteOnly));
        settings.write(content);
    }
    if (readBefore)
        (void)kivo::getRegistryValue(user, u"Device"_s);

    QCOMPARE(kivo::registryKeyState(user), expected);
    QCOMPARE(kivo::registryKeyLocation(user), QDir::toNativeSeparators(file));
    if (expected != KeyState::Unreadable)
        return;
    QCOMPARE(kivo::setRegistryValue(user, u"Loadlist"_s, 1), u"FAILURE"_s);
    QFile settings(file);
    QVERIFY(settings.open(QIODevice::ReadOnly));
    QCOMPARE(settings.readAll(), content);
}

void ApiGlobalTest::getPersonalFolder_data()
{
    QTest::addColumn<QString>("documentsEntry"); // relative to the temporary folder
    QTest::addColumn<QString>("expected");

    QTest::newRow("plain") << u"/Papers"_s << u"/Papers"_s;
    QTest::newRow("trailing separator") << u"/Papers/"_s << u"/Papers"_s;
    QTest::newRow("blank in the name") << u"/My Papers"_s << u"/My Papers"_s;
}

void ApiGlobalTest::getPersonalFolder()
{
    QFETCH(QString, documentsEntry);
    QFETCH(QString, expected);

    const QString base = QFileInfo(m_settings->userFolder()).absolutePath();
    QVERIFY(QDir().mkpath(base + documentsEntry));
    QFile userDirs(m_settings->userFolder() + u"/user-dirs.dirs"_s);
    QVERIFY(userDirs.open(QIODevice::WriteOnly));
    userDirs.write("XDG_DOCUMENTS_DIR=\"" + QFile::encodeName(base + documentsEntry) + "\"\n");
    userDirs.close();

    QCOMPARE(kivo::getPersonalFolder(), QDir::toNativeSeparators(base + expected));
}

QTEST_GUILESS_MAIN(ApiGlobalTest)
#include "ApiGlobalTest.moc"
