#include "platform/CommonDialog.h"
#include "platform/RuntimeError.h"

#include "ModalAnswerer.h"
#include "CommonDialogsLibrary.h"
#include "ScriptedModalSeam.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <optional>

using namespace kivo;

namespace {

enum class Show { Open, Save, Printer };

// What lies where the common dialogs' library should be.
enum class Unusable { Missing, NotALibrary, AnotherLibrary, LaterVersion };

void show(CommonDialog &dialog, Show which)
{
    switch (which) {
    case Show::Open:
        dialog.ShowOpen();
        return;
    case Show::Save:
        dialog.ShowSave();
        return;
    case Show::Printer:
        dialog.ShowPrinter();
        return;
    }
}

// The number of the error that the action threw, nullopt when it threw none.
std::optional<ErrorNumber> errorOf(const std::function<void()> &action, QString *description = nullptr)
{
    try {
        action();
    } catch (const RuntimeError &error) {
        if (description != nullptr)
            *description = error.description();
        return error.number();
    }
    return std::nullopt;
}

// What a file dialog was set to when it was shown.
struct FileDialogSeen {
    QString title;
    QFileDialog::FileMode fileMode = QFileDialog::AnyFile;
    QFileDialog::AcceptMode acceptMode = QFileDialog::AcceptOpen;
    QFileDialog::Options options;
    QStringList nameFilters;
    QStringList selectedFiles;
};

test::ScriptedModalSeam::FileDialogScript recordAndAnswer(FileDialogSeen &seen,
                                                          std::optional<QStringList> answer = std::nullopt)
{
    return [&seen, answer](QFileDialog &dialog) {
        seen.title = dialog.windowTitle();
        seen.fileMode = dialog.fileMode();
        seen.acceptMode = dialog.acceptMode();
        seen.options = dialog.options();
        seen.nameFilters = dialog.nameFilters();
        seen.selectedFiles = dialog.selectedFiles();
        return answer;
    };
}

const QChar nul(u'\0');

bool createEmptyFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly);
}

} // namespace

Q_DECLARE_METATYPE(Show)
Q_DECLARE_METATYPE(Unusable)
Q_DECLARE_METATYPE(ErrorNumber)
Q_DECLARE_METATYPE(QFileDialog::FileMode)
Q_DECLARE_METATYPE(QFileDialog::AcceptMode)
Q_DECLARE_METATYPE(std::optional<ErrorNumber>)

class CommonDialogTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup();
    void fileDialogSettings_data();
    void fileDialogSettings();
    void cancel_data();
    void cancel();
    void chosenFiles_data();
    void chosenFiles();
    void maxFileSize_data();
    void maxFileSize();
    void propertiesKeptBetweenDialogs();
    void printDialogSettings_data();
    void printDialogSettings();
    void printerKeptAfterCancel();
    void realFileDialog();
    void realPrintDialogCopies();
    void unusableLibrary_data();
    void unusableLibrary();
    void unboundControl_data();
    void unboundControl();
};

void CommonDialogTest::cleanup()
{
    QTRY_VERIFY(test::visibleTopLevels().isEmpty());
}

void CommonDialogTest::fileDialogSettings_data()
{
    QTest::addColumn<Show>("which");
    QTest::addColumn<qint32>("flags");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QFileDialog::FileMode>("fileMode");
    QTest::addColumn<QFileDialog::AcceptMode>("acceptMode");
    QTest::addColumn<bool>("confirmOverwrite");
    QTest::addColumn<QStringList>("nameFilters");

    const QString sounds = QStringLiteral("Tulvex Sound Image (*.tvs)|*.tvs");
    const QStringList soundFilters{QStringLiteral("Tulvex Sound Image (*.tvs) (*.tvs)")};
    const QString exports = QStringLiteral("Kivo Export File (*.kxf)|*.kxf");
    const QStringList exportFilters{QStringLiteral("Kivo Export File (*.kxf) (*.kxf)")};

    QTest::newRow("add: several existing files") << Show::Open << qint32(0x281A04) << sounds
                                                 << QFileDialog::ExistingFiles << QFileDialog::AcceptOpen << false
                                                 << soundFilters;
    QTest::newRow("export: save, ask before overwriting")
        << Show::Save << qint32(0x806) << exports << QFileDialog::AnyFile << QFileDialog::AcceptSave << true
        << exportFilters;
    QTest::newRow("import: one existing file") << Show::Open << qint32(0x1804) << exports
                                               << QFileDialog::ExistingFile << QFileDialog::AcceptOpen << false
                                               << exportFilters;
    QTest::newRow("open without flags: any name") << Show::Open << qint32(0) << exports << QFileDialog::AnyFile
                                                  << QFileDialog::AcceptOpen << false << exportFilters;
    QTest::newRow("save without overwrite prompt") << Show::Save << qint32(OFN_HIDEREADONLY) << exports
                                                   << QFileDialog::AnyFile << QFileDialog::AcceptSave << false
                                                   << exportFilters;
    QTest::newRow("several filters and patterns")
        << Show::Open << qint32(OFN_FILEMUSTEXIST) << QStringLiteral("Sounds|*.tvs;*.syx|All files (*.*)|*.*")
        << QFileDialog::ExistingFile << QFileDialog::AcceptOpen << false
        << QStringList{QStringLiteral("Sounds (*.tvs *.syx)"), QStringLiteral("All files (*.*) (*.*)")};
    QTest::newRow("text without its pattern left out")
        << Show::Open << qint32(0) << QStringLiteral("Sounds|*.tvs|Other") << QFileDialog::AnyFile
        << QFileDialog::AcceptOpen << false << QStringList{QStringLiteral("Sounds (*.tvs)")};
}

void CommonDialogTest::fileDialogSettings()
{
    QFETCH(Show, which);
    QFETCH(qint32, flags);
    QFETCH(QString, filter);
    QFETCH(QFileDialog::FileMode, fileMode);
    QFETCH(QFileDialog::AcceptMode, acceptMode);
    QFETCH(bool, confirmOverwrite);
    QFETCH(QStringList, nameFilters);

    test::ScriptedModalSeam seam;
    FileDialogSeen seen;
    seam.onNextFileDialog(recordAndAnswer(seen));
    CommonDialog dialog(test::commonDialogsLibrary());
    dialog.DialogTitle = QStringLiteral("Select Export Location");
    dialog.Filter = filter;
    dialog.Flags = flags;
    show(dialog, which);

    QCOMPARE(seam.dialogsShown(), 1);
    QCOMPARE(seen.title, QStringLiteral("Select Export Location"));
    QCOMPARE(seen.fileMode, fileMode);
    QCOMPARE(seen.acceptMode, acceptMode);
    QVERIFY(seen.options.testFlag(QFileDialog::DontUseNativeDialog));
    QCOMPARE(!seen.options.testFlag(QFileDialog::DontConfirmOverwrite), confirmOverwrite);
    // The filter's own text is what the user sees.
    QVERIFY(seen.options.testFlag(QFileDialog::HideNameFilterDetails));
    QCOMPARE(seen.nameFilters, nameFilters);
}

void CommonDialogTest::cancel_data()
{
    QTest::addColumn<Show>("which");
    QTest::addColumn<bool>("cancelError");
    QTest::addColumn<std::optional<ErrorNumber>>("error");

    const std::optional<ErrorNumber> none;
    const std::optional<ErrorNumber> cancelled = ErrorNumber::CancelError;
    QTest::newRow("open, error wanted") << Show::Open << true << cancelled;
    QTest::newRow("open, no error") << Show::Open << false << none;
    QTest::newRow("save, error wanted") << Show::Save << true << cancelled;
    QTest::newRow("save, no error") << Show::Save << false << none;
    QTest::newRow("printer, error wanted") << Show::Printer << true << cancelled;
    QTest::newRow("printer, no error") << Show::Printer << false << none;
}

void CommonDialogTest::cancel()
{
    QFETCH(Show, which);
    QFETCH(bool, cancelError);
    QFETCH(std::optional<ErrorNumber>, error);

    test::ScriptedModalSeam seam;
    if (which == Show::Printer)
        seam.onNextDialog([](QDialog &) { return int(QDialog::Rejected); });
    else
        seam.onNextFileDialog([](QFileDialog &) { return std::nullopt; });
    CommonDialog dialog(test::commonDialogsLibrary());
    dialog.FileName = QStringLiteral("Live");
    dialog.CancelError = cancelError;

    QString description;
    QCOMPARE(errorOf([&] { show(dialog, which); }, &description), error);
    QCOMPARE(seam.unexpected(), 0);
    QVERIFY(seam.allAnswersUsed());
    if (error)
        QCOMPARE(int(*error), 32755);
    if (which != Show::Printer)
        QCOMPARE(dialog.FileName, QString());
}

void CommonDialogTest::chosenFiles_data()
{
    QTest::addColumn<QStringList>("chosen");
    QTest::addColumn<QString>("fileName");

    QTest::newRow("one file: its full path")
        << QStringList{QStringLiteral("/music/kivo/Bass.tvs")}
        << QDir::toNativeSeparators(QStringLiteral("/music/kivo/Bass.tvs"));
    QTest::newRow("several: folder, then names")
        << QStringList{QStringLiteral("/music/kivo/Bass.tvs"), QStringLiteral("/music/kivo/Lead 2.tvs"),
                       QStringLiteral("/music/kivo/a.b.tvs")}
        << QDir::toNativeSeparators(QStringLiteral("/music/kivo")) + nul + QStringLiteral("Bass.tvs") + nul
               + QStringLiteral("Lead 2.tvs") + nul + QStringLiteral("a.b.tvs");
    QTest::newRow("several in the root: the root with its separator")
        << QStringList{QStringLiteral("/Bass.tvs"), QStringLiteral("/Pad.tvs")}
        << QDir::toNativeSeparators(QStringLiteral("/")) + nul + QStringLiteral("Bass.tvs") + nul
               + QStringLiteral("Pad.tvs");
}

void CommonDialogTest::chosenFiles()
{
    QFETCH(QStringList, chosen);
    QFETCH(QString, fileName);

    test::ScriptedModalSeam seam;
    seam.onNextFileDialog([chosen](QFileDialog &) { return chosen; });
    CommonDialog dialog(test::commonDialogsLibrary());
    dialog.Flags = 0x281A04;
    dialog.CancelError = true;
    dialog.MaxFileSize = 32000;
    QCOMPARE(errorOf([&] { dialog.ShowOpen(); }), std::nullopt);
    QCOMPARE(dialog.FileName, fileName);
}

void CommonDialogTest::maxFileSize_data()
{
    QTest::addColumn<qint32>("maxFileSize");
    QTest::addColumn<QStringList>("chosen");
    QTest::addColumn<bool>("fits");

    const QString path = QStringLiteral("/music/Bass.tvs"); // 15 characters
    QTest::newRow("room for the path and its end") << qint32(16) << QStringList{path} << true;
    QTest::newRow("no room for the end") << qint32(15) << QStringList{path} << false;
    QTest::newRow("default size, long path") << qint32(260) << QStringList{QLatin1Char('/') + QString(259, u'x')}
                                             << false;
    // "/music" NUL "Bass.tvs" NUL "Pad.tvs": 23 characters.
    QTest::newRow("several files fit") << qint32(24)
                                       << QStringList{path, QStringLiteral("/music/Pad.tvs")} << true;
    QTest::newRow("several files too long") << qint32(23)
                                            << QStringList{path, QStringLiteral("/music/Pad.tvs")} << false;
}

void CommonDialogTest::maxFileSize()
{
    QFETCH(qint32, maxFileSize);
    QFETCH(QStringList, chosen);
    QFETCH(bool, fits);

    test::ScriptedModalSeam seam;
    seam.onNextFileDialog([chosen](QFileDialog &) { return chosen; });
    CommonDialog dialog(test::commonDialogsLibrary());
    dialog.Flags = OFN_ALLOWMULTISELECT;
    dialog.CancelError = true;
    dialog.MaxFileSize = maxFileSize;

    QString description;
    const std::optional<ErrorNumber> error = errorOf([&] { dialog.ShowOpen(); }, &description);
    if (fits) {
        QCOMPARE(error, std::nullopt);
        QVERIFY(!dialog.FileName.isEmpty());
    } else {
        QVERIFY(error.has_value());
        QVERIFY(*error != ErrorNumber::CancelError);
        QVERIFY(!description.isEmpty());
        QCOMPARE(dialog.FileName, QString());
    }
}

void CommonDialogTest::propertiesKeptBetweenDialogs()
{
    QTemporaryDir dir;
    const QString chosen = dir.filePath(QStringLiteral("Live.kxf"));
    QVERIFY(createEmptyFile(chosen));

    test::ScriptedModalSeam seam;
    FileDialogSeen first;
    FileDialogSeen second;
    seam.onNextFileDialog(recordAndAnswer(first, QStringList{chosen}));
    seam.onNextFileDialog(recordAndAnswer(second));
    CommonDialog dialog(test::commonDialogsLibrary());
    dialog.DialogTitle = QStringLiteral("Select Export File");
    dialog.Filter = QStringLiteral("Kivo Export File (*.kxf)|*.kxf");
    dialog.Flags = 0x1804;
    dialog.CancelError = true;
    dialog.ShowOpen();
    QCOMPARE(dialog.FileName, QDir::toNativeSeparators(chosen));

    // Only the flags change; the rest, the chosen file included, stays.
    dialog.Flags = 0x806;
    QCOMPARE(errorOf([&] { dialog.ShowSave(); }), ErrorNumber::CancelError);
    QCOMPARE(second.title, first.title);
    QCOMPARE(second.nameFilters, first.nameFilters);
    QCOMPARE(second.acceptMode, QFileDialog::AcceptSave);
    QCOMPARE(second.selectedFiles, QStringList{chosen});
}

void CommonDialogTest::printDialogSettings_data()
{
    QTest::addColumn<qint32>("flags");
    QTest::addColumn<bool>("printToFile");
    QTest::addColumn<bool>("selection");

    QTest::newRow("no file, no selection") << qint32(PD_HIDEPRINTTOFILE | PD_NOSELECTION) << false << false;
    QTest::newRow("no file") << qint32(PD_HIDEPRINTTOFILE) << false << true;
    QTest::newRow("no selection") << qint32(PD_NOSELECTION) << true << false;
    QTest::newRow("no flags") << qint32(0) << true << true;
}

void CommonDialogTest::printDialogSettings()
{
    QFETCH(qint32, flags);
    QFETCH(bool, printToFile);
    QFETCH(bool, selection);

    test::ScriptedModalSeam seam;
    CommonDialog dialog(test::commonDialogsLibrary());
    QPrinter *configured = nullptr;
    QAbstractPrintDialog::PrintDialogOptions options;
    seam.onNextDialog([&](QDialog &shown) {
        auto &printDialog = dynamic_cast<QPrintDialog &>(shown);
        configured = printDialog.printer();
        options = printDialog.options();
        return int(QDialog::Accepted);
    });
    dialog.Flags = flags;
    dialog.CancelError = true;
    dialog.PrinterDefault = false;
    QCOMPARE(errorOf([&] { dialog.ShowPrinter(); }), std::nullopt);

    QCOMPARE(options.testFlag(QAbstractPrintDialog::PrintToFile), printToFile);
    QCOMPARE(options.testFlag(QAbstractPrintDialog::PrintSelection), selection);
    // The dialog works on the printer that printing uses afterwards.
    QCOMPARE(configured, &dialog.printer());
}

void CommonDialogTest::printerKeptAfterCancel()
{
    QTemporaryDir dir;
    const QString output = dir.filePath(QStringLiteral("chosen.pdf"));
    test::ScriptedModalSeam seam;
    seam.onNextDialog([&](QDialog &shown) {
        QPrinter &printer = *dynamic_cast<QPrintDialog &>(shown).printer();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(output);
        printer.setCopyCount(2);
        return int(QDialog::Accepted);
    });
    seam.onNextDialog([](QDialog &) { return int(QDialog::Rejected); });
    CommonDialog dialog(test::commonDialogsLibrary());
    dialog.ShowPrinter();
    dialog.ShowPrinter();
    QCOMPARE(dialog.printer().outputFileName(), output);
    QCOMPARE(dialog.printer().copyCount(), 2);
}

void CommonDialogTest::realFileDialog()
{
    QTemporaryDir dir;
    const QString chosen = dir.filePath(QStringLiteral("Bass.tvs"));
    QVERIFY(createEmptyFile(chosen));

    QString title;
    QString shownFilter;
    bool nonNative = false;
    test::whenModalActive([&](QWidget &modal) {
        auto &fileDialog = dynamic_cast<QFileDialog &>(modal);
        title = fileDialog.windowTitle();
        if (const auto *types = fileDialog.findChild<QComboBox *>(QStringLiteral("fileTypeCombo")))
            shownFilter = types->currentText();
        nonNative = fileDialog.testOption(QFileDialog::DontUseNativeDialog);
        fileDialog.selectFile(chosen);
        static_cast<QDialog &>(fileDialog).accept(); // the dialog's own checks run as on OK

    });
    CommonDialog dialog(test::commonDialogsLibrary());
    dialog.DialogTitle = QStringLiteral("Add Tulvex Sound Image");
    dialog.Filter = QStringLiteral("Tulvex Sound Image (*.tvs)|*.tvs");
    dialog.Flags = 0x281A04;
    dialog.CancelError = true;
    dialog.MaxFileSize = 32000;
    dialog.ShowOpen();
    QCOMPARE(title, QStringLiteral("Add Tulvex Sound Image"));
    QCOMPARE(shownFilter, QStringLiteral("Tulvex Sound Image (*.tvs)"));
    QVERIFY(nonNative);
    QCOMPARE(dialog.FileName, QDir::toNativeSeparators(chosen));
}

void CommonDialogTest::realPrintDialogCopies()
{
    test::whenModalActive([](QWidget &modal) {
        // A dialog without the box is closed all the same; the count below then fails.
        if (auto *copies = modal.findChild<QSpinBox *>(QStringLiteral("copies")))
            copies->setValue(3);
        dynamic_cast<QDialog &>(modal).accept();
    });
    CommonDialog dialog(test::commonDialogsLibrary());
    dialog.Flags = PD_HIDEPRINTTOFILE | PD_NOSELECTION;
    dialog.CancelError = true;
    dialog.ShowPrinter();
    QCOMPARE(dialog.printer().copyCount(), 3);
}

void CommonDialogTest::unusableLibrary_data()
{
    QTest::addColumn<Unusable>("unusable");
    QTest::addColumn<ErrorNumber>("error");

    QTest::newRow("missing") << Unusable::Missing << ErrorNumber::FileNotFound;
    QTest::newRow("not a library") << Unusable::NotALibrary << ErrorNumber::Other;
    QTest::newRow("another library") << Unusable::AnotherLibrary << ErrorNumber::EntryPointNotFound;
    QTest::newRow("dialogs of a later version") << Unusable::LaterVersion << ErrorNumber::Other;
}

// A library that cannot serve is refused with the file and the reason; the control
// keeps the dialogs it was bound to.
void CommonDialogTest::unusableLibrary()
{
    QFETCH(Unusable, unusable);
    QFETCH(ErrorNumber, error);

    QTemporaryDir dir;
    QString file = dir.filePath(QStringLiteral("libkivocomdlg.so"));
    switch (unusable) {
    case Unusable::Missing:
        break;
    case Unusable::NotALibrary: {
        QFile damaged(file);
        QVERIFY(damaged.open(QIODevice::WriteOnly));
        damaged.write(QByteArray(4096, 'x'));
        break;
    }
    case Unusable::AnotherLibrary:
        file = QStringLiteral(KIVO_KIVOTOOLS_LIBRARY);
        break;
    case Unusable::LaterVersion:
        file = QStringLiteral(KIVO_LATER_COMMON_DIALOGS);
        break;
    }
    CommonDialog dialog(test::commonDialogsLibrary());

    QString description;
    QCOMPARE(errorOf([&] { dialog.load(file); }, &description), error);
    QVERIFY2(description.contains(QDir::toNativeSeparators(file)), qPrintable(description));

    test::ScriptedModalSeam seam;
    seam.onNextFileDialog([](QFileDialog &) { return QStringList{QStringLiteral("/music/Bass.tvs")}; });
    dialog.ShowOpen();
    QCOMPARE(dialog.FileName, QDir::toNativeSeparators(QStringLiteral("/music/Bass.tvs")));
}

void CommonDialogTest::unboundControl_data()
{
    QTest::addColumn<Show>("which");

    QTest::newRow("open") << Show::Open;
    QTest::newRow("save") << Show::Save;
    QTest::newRow("printer") << Show::Printer;
}

// Without its dialogs the control reports it at each of them, as an error that no
// caller takes for a cancel.
void CommonDialogTest::unboundControl()
{
    QFETCH(Show, which);

    test::ScriptedModalSeam seam;
    CommonDialog dialog;
    dialog.CancelError = true;
    QString description;
    QCOMPARE(errorOf([&] { show(dialog, which); }, &description), ErrorNumber::Other);
    QCOMPARE(description, QStringLiteral("The common dialogs are not loaded"));
    QCOMPARE(seam.dialogsShown(), 0);
}

QTEST_MAIN(CommonDialogTest)
#include "CommonDialogTest.moc"
