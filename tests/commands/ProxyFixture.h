#pragma once

#include "commands/GlueProxy.h"
#include "model/Library.h"
#include "model/LoadLists.h"
#include "platform/CommonDialog.h"

#include "CommonDialogsLibrary.h"
#include "ScriptedModalSeam.h"
#include "TempDataFolder.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <memory>

class QDialog;

namespace kivo::test {

class PaintRecorder final : public QObject {
public:
    std::function<void()> onPaint;
    bool eventFilter(QObject *watched, QEvent *event) override;
};

// One question of the text-input dialog as the user saw it.
struct Prompt {
    QString title;
    QString proposed;
    QString message1;
    QString message2;
    bool allEnabled = false;
};

// The presenter on the main window's seven controls, a data folder and a folder of
// sound files of its own. The controls are wired as the main window wires them, so
// that a refill that runs the click handling shows in clicks.
struct ProxyFixture {
    enum class Start { Now, Later };

    TempDataFolder data;
    QTemporaryDir sounds;
    ScriptedModalSeam seam;
    Library library;
    LoadLists lists;
    QListWidget libList;
    QListWidget llList;
    QComboBox llsList;
    QComboBox device;
    QLabel status;
    QLabel path;
    QLabel tag;
    CommonDialog fileDialog{commonDialogsLibrary()};
    std::unique_ptr<GlueProxy> proxy;

    // Every status text in order (also noted in the seam's journal among the message
    // boxes), and the click handling that the controls ran.
    QStringList statusTexts;
    QStringList clicks;
    QList<Prompt> prompts;

    explicit ProxyFixture(Start start = Start::Now);
    ~ProxyFixture();
    ProxyFixture(const ProxyFixture &) = delete;
    ProxyFixture &operator=(const ProxyFixture &) = delete;

    // Sets the presenter up on the controls, as the main window's start-up does.
    void start();

    // A sound image file with that tag in its header, followed by imageBytes of image
    // data from offset 20; its full path.
    QString writeSound(const QString &fileName, qint32 fileTag, int imageBytes = 64) const;
    // A file too short to hold a header.
    QString writeShortFile(const QString &fileName) const;
    QString soundFolder() const;
    // Adds a sound file to the library under its own name, without a prompt.
    void addSound(const QString &name, qint32 fileTag);
    // A new list holding the named sounds (added to the library first) at the locations.
    void makeList(const QString &name, const QList<std::pair<int, QString>> &entries = {});

    // Answers the next question of the text-input dialog: types the text and presses
    // the button (btnOk, btnOkAll, btnCancel, btnCancelAll); runs meanwhile first, as
    // what happens while the question is open.
    void answerText(const QString &text, const QString &button = QStringLiteral("btnOk"),
                    std::function<void()> meanwhile = {});
    // Answers the next file dialog with these paths (one, or several in one folder),
    // or cancels it.
    void chooseFiles(const QStringList &paths);
    void cancelFileDialog();
    // Answers the next print dialog with OK or Cancel.
    void answerPrintDialog(bool accept);

    // Selects the library rows (extended selection), the last one current.
    void selectLibraryRows(const QList<int> &rows);

    QStringList rows(const QListWidget &list) const;
    QStringList rows(const QComboBox &box) const;
    QStringList listNames() const;
    // Forgets the recorded texts, clicks, prompts and message boxes.
    void forget();

private:
    PaintRecorder m_painted;
    int answerPrompt(QDialog &dialog, const QString &text, const QString &button);
};

} // namespace kivo::test
