#include "ScriptedModalSeam.h"

#include <QDialog>
#include <QFileDialog>

namespace kivo::test {

namespace {

template <typename Script>
std::optional<Script> takeNext(std::deque<Script> &scripts)
{
    if (scripts.empty())
        return std::nullopt;
    Script script = std::move(scripts.front());
    scripts.pop_front();
    return script;
}

} // namespace

ScriptedModalSeam::ScriptedModalSeam()
{
    ModalSeam::install(this);
}

ScriptedModalSeam::~ScriptedModalSeam()
{
    ModalSeam::install(nullptr);
}

QStringList ScriptedModalSeam::messageTexts() const
{
    QStringList texts;
    for (const auto &message : m_messages)
        texts.append(message.text);
    return texts;
}

void ScriptedModalSeam::clear()
{
    m_messages.clear();
    m_journal.clear();
    m_answers.clear();
    m_messageScripts.clear();
    m_dialogScripts.clear();
    m_fileDialogScripts.clear();
    m_dialogsShown = 0;
    m_unexpected = 0;
}

Answer ScriptedModalSeam::messageBox(const MessageRequest &request)
{
    m_messages.append(request);
    note(QStringLiteral("box: ") + request.text);
    if (const std::optional<MessageScript> script = takeNext(m_messageScripts))
        return (*script)(request);
    if (!m_answers.empty()) {
        const Answer answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    }
    if (request.buttons == Buttons::Ok)
        return Answer::Ok;
    ++m_unexpected;
    return Answer::Cancel;
}

int ScriptedModalSeam::execDialog(QDialog &dialog)
{
    ++m_dialogsShown;
    const std::optional<DialogScript> script = takeNext(m_dialogScripts);
    if (!script) {
        ++m_unexpected;
        return QDialog::Rejected;
    }
    return (*script)(dialog);
}

std::optional<QStringList> ScriptedModalSeam::execFileDialog(QFileDialog &dialog)
{
    ++m_dialogsShown;
    const std::optional<FileDialogScript> script = takeNext(m_fileDialogScripts);
    if (!script) {
        ++m_unexpected;
        return std::nullopt;
    }
    return (*script)(dialog);
}

} // namespace kivo::test
