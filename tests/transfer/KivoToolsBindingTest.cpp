#include "platform/KivoTools.h"
#include "platform/RuntimeError.h"

#include "TestFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <functional>

using namespace kivo;
using namespace kivo::test;

namespace {

using Call = std::function<void(KivoTools &)>;

// The four functions that the program binds, each called once.
void addCalls()
{
    QTest::addColumn<Call>("call");
    const QString path = QStringLiteral("nowhere.tvs");
    QTest::newRow("writeMidi") << Call([path](KivoTools &tools) { tools.writeMidi(QFile::encodeName(path), 0, 0); });
    QTest::newRow("checkMidiPort") << Call([](KivoTools &tools) { tools.checkMidiPort(0); });
    QTest::newRow("readTag") << Call([path](KivoTools &tools) { tools.readTag(path); });
    QTest::newRow("getTvsId") << Call([path](KivoTools &tools) { tools.getTvsId(path); });
}

// The library's base name as the binding is given it: folder and base name
// without the platform's prefix and suffix.
QString bindingName(const QString &folder, const QString &libraryFile)
{
    QString base = QFileInfo(libraryFile).completeBaseName();
    if (base.startsWith(QStringLiteral("lib")))
        base.remove(0, 3);
    return folder + QLatin1Char('/') + base;
}

} // namespace

Q_DECLARE_METATYPE(Call)

class KivoToolsBindingTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void bindsByNameThroughLibrarySearch();
    void missingLibraryRaises_data() { addCalls(); }
    void missingLibraryRaises();
    void failedBindingIsRetried();
    void missingEntryPointRaises();

private:
    QTemporaryDir m_dir;
};

void KivoToolsBindingTest::bindsByNameThroughLibrarySearch()
{
    const QString path = writeFile(m_dir, QStringLiteral("tagged.tvs"),
                                   QByteArray::fromHex("00000010 4B49564F 00000101 00012345"));
    KivoTools tools;
    QCOMPARE(tools.readTag(path), 0x12345);
    QCOMPARE(tools.getTvsId(path), 0x4B49564F);
    QCOMPARE(tools.readTag(m_dir.filePath(QStringLiteral("absent.tvs"))), -1);
}

void KivoToolsBindingTest::missingLibraryRaises()
{
    QFETCH(Call, call);
    KivoTools tools(QStringLiteral("kivotools-not-installed"));
    for (int attempt = 0; attempt < 2; ++attempt) {
        try {
            call(tools);
            QFAIL("the call succeeded without a library");
        } catch (const RuntimeError &error) {
            QCOMPARE(error.number(), ErrorNumber::FileNotFound);
            QVERIFY2(error.description().startsWith(QStringLiteral("File not found: kivotools-not-installed")),
                     qPrintable(error.description()));
        }
    }
}

void KivoToolsBindingTest::failedBindingIsRetried()
{
    const QString name = bindingName(m_dir.path(), QStringLiteral(KIVOTOOLS_FILE));
    const QString path = writeFile(m_dir, QStringLiteral("tag7.tvs"),
                                   QByteArray::fromHex("00000010 4B49564F 00000101 00000007"));
    KivoTools tools(name);
    QVERIFY_THROWS_EXCEPTION(RuntimeError, tools.readTag(path));

    QVERIFY(QFile::copy(QStringLiteral(KIVOTOOLS_FILE),
                        m_dir.filePath(QFileInfo(QStringLiteral(KIVOTOOLS_FILE)).fileName())));
    QCOMPARE(tools.readTag(path), 7);
}

void KivoToolsBindingTest::missingEntryPointRaises()
{
    const QString library = QStringLiteral(PARTIAL_LIBRARY_FILE);
    KivoTools tools(bindingName(QFileInfo(library).path(), library));
    QCOMPARE(tools.checkMidiPort(2), 42);
    for (const auto &[name, call] :
         {std::pair{"readTag", Call([](KivoTools &t) { t.readTag(QStringLiteral("x.tvs")); })},
          std::pair{"writeMidi", Call([](KivoTools &t) { t.writeMidi(QByteArrayLiteral("x.tvs"), 0, 0); })}}) {
        try {
            call(tools);
            QFAIL("bound a function that the library lacks");
        } catch (const RuntimeError &error) {
            QCOMPARE(error.number(), ErrorNumber::EntryPointNotFound);
            QVERIFY2(error.description().startsWith(QStringLiteral("Can't find DLL entry point %1 in ")
                                                        .arg(QLatin1String(name))),
                     qPrintable(error.description()));
        }
    }
}

QTEST_GUILESS_MAIN(KivoToolsBindingTest)
#include "KivoToolsBindingTest.moc"
