#include "ListNamePrompt.h"

#include "commands/dlgKivo.h"
#include "model/Global.h"
#include "platform/LineBreak.h"

namespace kivo {

namespace {

// Why the name prompt asks again for a name whose list file could not be saved again.
QString nameTooLongText()
{
    return QStringLiteral("Name is too long to be saved as a file") + lineBreak() + QStringLiteral("Name can have up to ")
        + QString::number(maxSavableNameLength())
        + QStringLiteral(" characters, fewer with accents or letters outside A to Z");
}

} // namespace

QString ListNamePrompt::askValidName(bool blnShowAll, const QString &strMessage, const QString &strTitle,
                                     const QString &strDefault)
{
    sharedDialog().showAll(blnShowAll);
    QString answer = askText(strTitle, strDefault, strMessage);
    // A list whose file could be written once but never again would lose every later edit.
    bool valid = isValidName(answer) && isSavableName(answer);
    while (!answer.isEmpty() && !valid) {
        if (isSavableName(answer))
            answer = askText(strTitle, answer, QStringLiteral("Please enter a valid name"),
                             QStringLiteral("Cannot use: /\\:*?\"<>|") + lineBreak()
                                 + QStringLiteral("Name must start with either a letter or number"));
        else
            answer = askText(strTitle, answer, QStringLiteral("Please enter a shorter name"), nameTooLongText());
        valid = isValidName(answer) && isSavableName(answer);
    }
    return answer;
}

} // namespace kivo
