#include "ScriptedModalSeam.h"

#include <QDialog>

namespace kivo::test {

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
    m_answers.clear();
    m_dialogScripts.clear();
    m_dialogsShown = 0;
    m_unexpected = 0;
}

Answer ScriptedModalSeam::messageBox(const MessageRequest &request)
{
    m_messages.append(request);
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
    if (m_dialogScripts.empty()) {
        ++m_unexpected;
        return QDialog::Rejected;
    }
    DialogScript script = std::move(m_dialogScripts.front());
    m_dialogScripts.pop_front();
    return script(dialog);
}

} // namespace kivo::test
