#pragma once

#include "platform/ModalSeam.h"

#include <QList>
#include <QString>

#include <deque>
#include <functional>

class QDialog;

namespace kivo::test {

// Stands in for the user at every modal question while it lives: records each
// message box and answers from a script; an Ok-only box is answered Ok unasked.
// A question with no scripted answer is recorded as unexpected and answered Cancel.
class ScriptedModalSeam final : public ModalSeam {
public:
    using DialogScript = std::function<int(QDialog &)>;

    ScriptedModalSeam();
    ~ScriptedModalSeam() override;
    ScriptedModalSeam(const ScriptedModalSeam &) = delete;
    ScriptedModalSeam &operator=(const ScriptedModalSeam &) = delete;

    void answerNext(Answer answer) { m_answers.push_back(answer); }
    void onNextDialog(DialogScript script) { m_dialogScripts.push_back(std::move(script)); }

    const QList<MessageRequest> &messages() const noexcept { return m_messages; }
    QStringList messageTexts() const;
    int dialogsShown() const noexcept { return m_dialogsShown; }
    int unexpected() const noexcept { return m_unexpected; }
    bool allAnswersUsed() const noexcept { return m_answers.empty() && m_dialogScripts.empty(); }
    void clear();

    Answer messageBox(const MessageRequest &request) override;
    int execDialog(QDialog &dialog) override;

private:
    QList<MessageRequest> m_messages;
    std::deque<Answer> m_answers;
    std::deque<DialogScript> m_dialogScripts;
    int m_dialogsShown = 0;
    int m_unexpected = 0;
};

} // namespace kivo::test
