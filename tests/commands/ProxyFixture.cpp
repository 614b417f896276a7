#include "ProxyFixture.h"

#include "commands/Glue.h"
#include "commands/dlgKivo.h"
#include "model/Global.h"

#include <QAbstractButton>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QEvent>
#include <QLineEdit>
#include <QTest>

namespace kivo::test {

bool PaintRecorder::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Paint && onPaint)
        onPaint();
    return QObject::eventFilter(watched, event);
}

namespace {

QString labelText(const QDialog &dialog, const QString &name)
{
    const auto *label = dialog.findChild<QLabel *>(name);
    return label != nullptr ? label->text() : QStringLiteral("<no %1>").arg(name);
}

} // namespace

ProxyFixture::ProxyFixture(Start start)
{
    libList.setSelectionMode(QAbstractItemView::ExtendedSelection);
    gDialog = &getDialog();
    // The status line is painted at once whenever a text is shown; the event loop
    // does not run meanwhile, so each painting is one text.
    status.installEventFilter(&m_painted);
    status.show();
    if (!QTest::qWaitForWindowExposed(&status))
        qFatal("the status line is not shown");
    m_painted.onPaint = [this] {
        statusTexts.append(status.text());
        seam.note(QStringLiteral("status: ") + status.text());
    };
    QObject::connect(&libList, &QListWidget::currentRowChanged, [this](int row) {
        const QString key = row >= 0 ? libList.item(row)->text() : QString();
        clicks.append(QStringLiteral("Library:") + key);
        proxy->listBoxChanges(key, QStringLiteral("Library"));
    });
    QObject::connect(&llList, &QListWidget::currentRowChanged, [this](int row) {
        const QString key = row >= 0 ? llList.item(row)->text() : QString();
        clicks.append(QStringLiteral("Loadlist:%1:").arg(row) + key);
        proxy->listBoxChanges(key, QStringLiteral("Loadlist"), row);
    });
    QObject::connect(&llsList, &QComboBox::currentIndexChanged, [this](int row) {
        clicks.append(QStringLiteral("Lists:") + llsList.currentText());
        if (row >= 0)
            proxy->cboActiveListChange(llsList.currentText());
    });
    if (start == Start::Now)
        this->start();
}

ProxyFixture::~ProxyFixture()
{
    QObject::disconnect(&libList, nullptr, nullptr, nullptr);
    QObject::disconnect(&llList, nullptr, nullptr, nullptr);
    QObject::disconnect(&llsList, nullptr, nullptr, nullptr);
}

void ProxyFixture::start()
{
    proxy = std::make_unique<GlueProxy>(library, lists);
    proxy->init(libList, llList, llsList, device, status, path, tag);
}

QString ProxyFixture::soundFolder() const
{
    return QDir::toNativeSeparators(sounds.path()) + QDir::separator();
}

QString ProxyFixture::writeSound(const QString &fileName, qint32 fileTag, int imageBytes) const
{
    QByteArray bytes;
    QDataStream stream(&bytes, QIODevice::WriteOnly);
    stream.setByteOrder(QDataStream::BigEndian);
    stream << quint32(16) << quint32(0x4B49564F) << quint32(0x101) << fileTag << quint32(0x01020304);
    bytes.append(imageBytes, '\x5a');
    const QString file = soundFolder() + fileName;
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size())
        qFatal("cannot write a sound file");
    return file;
}

QString ProxyFixture::writeShortFile(const QString &fileName) const
{
    const QString file = soundFolder() + fileName;
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write("KIVO", 4) != 4)
        qFatal("cannot write a file");
    return file;
}

void ProxyFixture::addSound(const QString &name, qint32 fileTag)
{
    proxy->glue().addToLibrary(fileTag, name, writeSound(name + QStringLiteral(".tvs"), fileTag));
}

void ProxyFixture::makeList(const QString &name, const QList<std::pair<int, QString>> &entries)
{
    proxy->glue().createLL(name);
    for (const auto &[location, sound] : entries) {
        if (!library.nameExist(sound))
            addSound(sound, static_cast<qint32>(qHash(sound) & 0xffff) + 1);
        proxy->glue().addToLL(sound, location);
    }
}

void ProxyFixture::answerText(const QString &text, const QString &button, std::function<void()> meanwhile)
{
    seam.onNextDialog([this, text, button, meanwhile = std::move(meanwhile)](QDialog &dialog) {
        if (meanwhile)
            meanwhile();
        return answerPrompt(dialog, text, button);
    });
}

int ProxyFixture::answerPrompt(QDialog &dialog, const QString &text, const QString &button)
{
    auto *edit = dialog.findChild<QLineEdit *>(QStringLiteral("txtText"));
    auto *okAll = dialog.findChild<QAbstractButton *>(QStringLiteral("btnOkAll"));
    auto *pressed = dialog.findChild<QAbstractButton *>(button);
    if (edit == nullptr || okAll == nullptr || pressed == nullptr)
        qFatal("the text-input dialog lacks a control");
    prompts.append(Prompt{dialog.windowTitle(), edit->text(), labelText(dialog, QStringLiteral("lblLabel1")),
                          labelText(dialog, QStringLiteral("lblLabel2")), okAll->isEnabled()});
    edit->setText(text);
    pressed->setEnabled(true);
    pressed->click();
    return dialog.result();
}

void ProxyFixture::chooseFiles(const QStringList &paths)
{
    seam.onNextFileDialog([paths](QFileDialog &) { return std::optional<QStringList>(paths); });
}

void ProxyFixture::cancelFileDialog()
{
    seam.onNextFileDialog([](QFileDialog &) { return std::optional<QStringList>(); });
}

void ProxyFixture::answerPrintDialog(bool accept)
{
    seam.onNextDialog([accept](QDialog &) { return accept ? QDialog::Accepted : QDialog::Rejected; });
}

void ProxyFixture::selectLibraryRows(const QList<int> &selected)
{
    libList.clearSelection();
    for (const int row : selected)
        libList.item(row)->setSelected(true);
    if (!selected.isEmpty())
        libList.setCurrentRow(selected.back(), QItemSelectionModel::Current);
}

QStringList ProxyFixture::rows(const QListWidget &list) const
{
    QStringList texts;
    for (int row = 0; row < list.count(); ++row)
        texts.append(list.item(row)->text());
    return texts;
}

QStringList ProxyFixture::rows(const QComboBox &box) const
{
    QStringList texts;
    for (int row = 0; row < box.count(); ++row)
        texts.append(box.itemText(row));
    return texts;
}

QStringList ProxyFixture::listNames() const
{
    QStringList names;
    for (const LoadListPtr &list : lists)
        names.append(list->name());
    return names;
}

void ProxyFixture::forget()
{
    statusTexts.clear();
    clicks.clear();
    prompts.clear();
    seam.clear();
}

} // namespace kivo::test
