#include "HelpViewer.h"

#include "platform/ModalSeam.h"

#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>
#include <QWidget>

namespace kivo {

namespace {

const QString viewerName = QStringLiteral("helpViewer");

QTextBrowser *viewerOf(QWidget &owner)
{
    return owner.findChild<QTextBrowser *>(viewerName, Qt::FindDirectChildrenOnly);
}

// A window of its own that the owner keeps, so it goes when the owner goes.
QTextBrowser &openViewer(QWidget &owner)
{
    if (QTextBrowser *viewer = viewerOf(owner))
        return *viewer;
    auto *viewer = new QTextBrowser(&owner);
    viewer->setObjectName(viewerName);
    viewer->setWindowFlags(Qt::Window);
    viewer->setAttribute(Qt::WA_DeleteOnClose);
    viewer->setWindowTitle(programTitle() + QStringLiteral(" Help"));
    viewer->setOpenExternalLinks(true);
    viewer->resize(640, 480);
    return *viewer;
}

void showContents(QTextBrowser &viewer, const QString &helpFile)
{
    if (QFileInfo(helpFile).isFile()) {
        viewer.setSource(QUrl::fromLocalFile(helpFile), QTextDocument::HtmlResource);
    } else {
        // Plain text, so that the file's name shows as it is.
        viewer.setPlainText(QStringLiteral("The help file ") + helpFile + QStringLiteral(" cannot be found."));
    }
}

} // namespace

void WinHelp(QWidget &owner, const QString &helpFile, HelpCommand command)
{
    switch (command) {
    case HelpCommand::HELP_CONTENTS: {
        QTextBrowser &viewer = openViewer(owner);
        showContents(viewer, helpFile);
        viewer.show();
        viewer.raise();
        viewer.activateWindow();
        break;
    }
    case HelpCommand::HELP_QUIT:
        if (QTextBrowser *viewer = viewerOf(owner))
            viewer->close();
        break;
    }
}

} // namespace kivo
