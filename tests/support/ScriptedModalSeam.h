#pragma once

#include "platform/ModalSeam.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <optional>

class QDialog;
class QFileDialog;

namespace kivo::test {

// Stands in for the user at every modal question while it lives: records each
// message box and answers from a script; an Ok-only box is answered Ok unasked.
// A question with no scripted answer is recorded as unexpected and answered Cancel.
// File dialogs count among the dialogs shown.
// Its journal keeps what the user was shown in order: each message box, and the
// lines that a fixture notes beside them (the status texts as they are painted), so
// that a test can check which came first.
class ScriptedModalSeam final : public ModalSeam {
public:
    using DialogScript = std::function<int(QDialog &)>;
    // Looks at the configured file dialog and answers the chosen paths, nullopt for Cancel.
    using FileDialogScript = std::function<std::optional<QStringList>(QFileDialog &)>;
    // Runs while a message box is up, as what happens meanwhile, and answers it.
    using MessageScript = std::function<Answer(const MessageRequest &)>;

    ScriptedModalSeam();
    ~ScriptedModalSeam() override;
    ScriptedModalSeam(const ScriptedModalSeam &) = delete;
    ScriptedModalSeam &operator=(const ScriptedModalSeam &) = delete;

    void answerNext(Answer answer) { m_answers.push_back(answer); }
    // Answers the next message box by the script, before any answerNext.
    void onNextMessage(MessageScript script) { m_messageScripts.push_back(std::move(script)); }
    void onNextDialog(DialogScript script) { m_dialogScripts.push_back(std::move(script)); }
    void onNextFileDialog(FileDialogScript script) { m_fileDialogScripts.push_back(std::move(script)); }

    const QList<MessageRequest> &messages() const noexcept { return m_messages; }
    QStringList messageTexts() const;
    // Each message box as "box: " and its text, among the noted lines.
    const QStringList &journal() const noexcept { return m_journal; }
    void note(const QString &line) { m_journal.append(line); }
    int dialogsShown() const noexcept { return m_dialogsShown; }
    int unexpected() const noexcept { return m_unexpected; }
    bool allAnswersUsed() const noexcept
    {
        return m_answers.empty() && m_messageScripts.empty() && m_dialogScripts.empty()
            && m_fileDialogScripts.empty();
    }
    void clear();

    Answer messageBox(const MessageRequest &request) override;
    int execDialog(QDialog &dialog) override;
    std::optional<QStringList> execFileDialog(QFileDialog &dialog) override;

private:
    QList<MessageRequest> m_messages;
    QStringList m_journal;
    std::deque<Answer> m_answers;
    std::deque<MessageScript> m_messageScripts;
    std::deque<DialogScript> m_dialogScripts;
    std::deque<FileDialogScript> m_fileDialogScripts;
    int m_dialogsShown = 0;
    int m_unexpected = 0;
};

} // namespace kivo::test
