#include "UnreadLinesNotice.h"

#include "Global.h"
#include "platform/LineBreak.h"
#include "platform/ModalSeam.h"

#include <QList>
#include <QStringList>

#include <utility>

namespace kivo {

namespace {

struct News {
    QString file;
    QString copy;
    std::optional<QString> notCopied;
};

struct HeldBack {
    int open = 0;
    QList<News> news;
};

HeldBack &heldBack()
{
    static HeldBack held;
    return held;
}

QString unreadText(const QString &file)
{
    return QStringLiteral("Kivo Rudovaz could not read some lines of the file ") + file + u'.';
}

QString oneFileText(const News &news)
{
    const QString copyName = getFileName(news.copy);
    if (news.notCopied)
        return unreadText(news.file) + lineBreak() + QStringLiteral("The file could not be copied to \"") + copyName
            + QStringLiteral("\" before it changes (") + *news.notCopied + QStringLiteral("), so it stays as it is.");
    return unreadText(news.file) + QStringLiteral(" They cannot stay in it.") + lineBreak()
        + QStringLiteral("The file as it was is kept as \"") + copyName + QStringLiteral("\" in the same folder.");
}

QString folderOf(const QString &file)
{
    return file.left(lastSeparatorIndex(file) + 1);
}

// The folder of every file, when they share one, as the files of the data folder do;
// empty otherwise.
QString sharedFolder(const QList<News> &news)
{
    const QString folder = folderOf(news.constFirst().file);
    for (const News &one : news) {
        if (folderOf(one.file) != folder)
            return {};
    }
    return folder;
}

// One short line for each file, so that a box that names many still fits on the screen.
QString lineOf(const News &news, const QString &folder)
{
    const QString file = folder.isEmpty() ? news.file : news.file.mid(folder.size());
    const QString copyName = getFileName(news.copy);
    if (news.notCopied)
        return file + QStringLiteral(": could not be copied to \"") + copyName + QStringLiteral("\" (") + *news.notCopied
            + QStringLiteral("), so it stays as it is");
    return file + QStringLiteral(": kept as it was as \"") + copyName + u'"';
}

void show(const QList<News> &news)
{
    if (news.size() == 1) {
        msgBox(oneFileText(news.constFirst()));
        return;
    }
    const QString folder = sharedFolder(news);
    QStringList lines;
    for (const News &one : news)
        lines.append(lineOf(one, folder));
    const QString where = folder.isEmpty() ? QString() : QStringLiteral(" in ") + folder;
    msgBox(QStringLiteral("Kivo Rudovaz could not read some lines of these files") + where
           + QStringLiteral(", which cannot stay in them. Each copy is in the same folder as its file:") + lineBreak()
           + lineBreak() + lines.join(lineBreak()));
}

} // namespace

UnreadLinesNotice::UnreadLinesNotice()
{
    ++heldBack().open;
}

UnreadLinesNotice::~UnreadLinesNotice()
{
    HeldBack &held = heldBack();
    if (--held.open > 0 || held.news.isEmpty())
        return;
    const QList<News> news = std::exchange(held.news, {});
    show(news);
}

void UnreadLinesNotice::tell(const QString &file, const QString &copy, const std::optional<QString> &notCopied)
{
    HeldBack &held = heldBack();
    const News news{file, copy, notCopied};
    if (held.open > 0)
        held.news.append(news);
    else
        show({news});
}

} // namespace kivo
