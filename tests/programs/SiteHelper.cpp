// A second program on a site, which the tests start and kill at will.
//
//   site_helper hold <folder>               opens the site and keeps it until its input ends
//   site_helper save <folder> <label>       opens the site, edits it, and saves once told to
//   site_helper revert <folder> <snapshot>  opens the site and reverts it once told to
//   site_helper export <folder> <destination>  opens the site and exports its generated
//                                           site to the folder once told to ("listed"
//                                           when it starts copying)
//   site_helper files-rename <folder> <sub>  renames every file of the folder "sub" of the
//                                           site's files to "renamed-<name>", once told to,
//                                           as the files pane does
//   site_helper files-move <folder> <sub>    moves every file of the folder "sub" of the
//                                           site's files into its folder "moved", once
//                                           told to, as the files pane does
//   site_helper import <folder> <picture>   opens the site, imports the picture into
//                                           its first album page through its queue,
//                                           and keeps it unsaved until its input ends
//
// It prints "opened" or "refused: <why>" after opening, "ready" when it waits
// for the line that starts the save or revert, "done" after it, and
// "imported" once an import has run.
#include "document/MyDocument.h"
#include "application/MyApplication.h"
#include "model/feed/XmlRSS.h"
#include "model/files/XmlFile.h"
#include "model/files/XmlFiles.h"
#include "model/files/XmlFolder.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlHomePage.h"
#include "model/site/XmlSite.h"
#include "theme/XmlTheme.h"
#include "pipeline/XmlImportPhoto.h"
#include "document/DocumentElements.h"
#include "publish/FolderExport.h"
#include "publish/XmlBom.h"
#include "publish/XmlD.h"
#include "publish/XmlLocation.h"
#include "platform/Resources.h"
#include "platform/SupportPaths.h"
#include "templates/XmlStyleSheet.h"

#include <QGuiApplication>

#include <cstdio>
#include <iostream>
#include <string>

// The same sanitizer defaults as the test programs (see tests/support/TestProgram.h).
extern "C" const char* __asan_default_options()
{
    return "intercept_tls_get_addr=0";
}

namespace {

void say(const QString& line)
{
    std::cout << line.toStdString() << std::endl;
}

// Waits for a line (or the end) on standard input.
void waitForInput()
{
    std::string line;
    std::getline(std::cin, line);
}

// The edit a save test makes: every one of the four files changes, the
// names of the site's last page and of the theme's first template among them.
void labelSite(MyDocument& document, const QString& label)
{
    if (XmlAlbum* page = XmlAlbum::cast(document.site()->homepage()->lastChild().get()))
        page->setName(QStringLiteral("Page ") + label);
    if (XmlStyleSheet* first = document.defaultTemplate())
        first->setName(QStringLiteral("Template ") + label);
    document.location()->setUsername(label);
    document.rss()->setTitle(label);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication qtApp(argc, argv);
    lq::setApplicationIdentity();
    MyApplication app;
    lq::registerDocumentElements();
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() < 3)
        return 2;
    const QString command = arguments[1];
    MyDocument document;
    if (!document.readFromFile(arguments[2])) {
        say(QStringLiteral("refused: ") + document.lastError());
        return 1;
    }
    say(QStringLiteral("opened"));
    if (command == QLatin1String("hold")) {
        waitForInput();
        return 0;
    }
    if (arguments.size() < 4)
        return 2;
    if (command == QLatin1String("export")) {
        say(QStringLiteral("ready"));
        waitForInput();
        // The changes since the last export, as the publisher makes them.
        const std::shared_ptr<XmlD> current = document.createXmlD(QString());
        const std::shared_ptr<XmlD> last = document.lastXmlD();
        const std::shared_ptr<XmlBom> bom = XmlBom::createWithSourceDest(current.get(), last.get());
        say(QStringLiteral("listed"));
        const QString error = current ? lq::exportChangesToFolder(&document, bom.get(), current.get(),
                                  document.fileName() + QStringLiteral("/homepage"), arguments[3])
                                      : QStringLiteral("the generated site cannot be listed");
        say(error.isEmpty() ? QStringLiteral("done") : QStringLiteral("failed: ") + error);
        return error.isEmpty() ? 0 : 1;
    }
    if (command == QLatin1String("files-rename") || command == QLatin1String("files-move")) {
        // The same calls as the files pane's rename and move.
        XmlFiles* files = document.site()->files();
        const std::shared_ptr<XmlFolder> from = files ? files->folderWithName(arguments[3]) : nullptr;
        const std::shared_ptr<XmlFolder> moved = command == QLatin1String("files-move") && files ? files->folderWithName(QStringLiteral("moved")) : nullptr;
        if (!from || (command == QLatin1String("files-move") && !moved))
            return 3;
        QList<std::shared_ptr<XmlFile>> pile;
        for (const XmlBasePtr& child : from->children())
            if (XmlFile::cast(child.get()))
                pile.append(std::static_pointer_cast<XmlFile>(child));
        say(QStringLiteral("ready"));
        waitForInput();
        bool done = true;
        for (const std::shared_ptr<XmlFile>& file : pile) {
            QString why;
            if (!moved) {
                done = file->renameFilename(QStringLiteral("renamed-") + file->filename(), &why) && done;
            } else if (moved->moveFileHere(*file, &why)) {
                file->removeFromParentWithoutDeletingChildren();
                moved->addChild(file);
            } else {
                done = false;
            }
            if (!why.isEmpty())
                say(QStringLiteral("refused: ") + why);
        }
        say(done ? QStringLiteral("done") : QStringLiteral("failed"));
        return done ? 0 : 1;
    }
    if (command == QLatin1String("import")) {
        XmlAlbum* page = document.site()->homepage()->firstChildOfType<XmlAlbum>().get();
        if (!page)
            return 3;
        document.startProcessor(XmlImportPhoto::createProcessorForFilesAlbumIndex({ arguments[3] }, page->UUID(), -1));
        while (!document.queue().isIdle())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        say(QStringLiteral("imported"));
        waitForInput();
        return 0;
    }
    if (command == QLatin1String("save"))
        labelSite(document, arguments[3]);
    say(QStringLiteral("ready"));
    waitForInput();
    const bool done = command == QLatin1String("save") ? document.saveFileWithComment(arguments[2], arguments[3])
                                                       : document.revertFromFile(arguments[3]);
    say(done ? QStringLiteral("done") : QStringLiteral("failed: ") + document.lastError());
    return done ? 0 : 1;
}
