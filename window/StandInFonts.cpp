#include "StandInFonts.h"

#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>

namespace kivo {

namespace {

bool tahomaKnown()
{
    return QFontDatabase::families().contains(QStringLiteral("Tahoma"));
}

} // namespace

bool useStandInFonts(const QString &folder)
{
    // A machine whose font configuration knows Tahoma already (its own, or the
    // folder added there by hand) keeps it, with no second copy of the same family.
    if (tahomaKnown())
        return true;
    if (folder.isEmpty())
        return false;
    // The regular and the bold face: the load-list box is drawn bold, and a bold
    // made up from the regular face is wider than the design.
    for (const QString &name : {QStringLiteral("tahoma.ttf"), QStringLiteral("tahomabd.ttf")}) {
        const QString file = QDir(folder).filePath(name);
        if (QFileInfo(file).isFile())
            QFontDatabase::addApplicationFont(file);
    }
    return tahomaKnown();
}

QString standInFontFolder()
{
    return QStringLiteral(KIVO_STAND_IN_FONT_DIR);
}

} // namespace kivo
