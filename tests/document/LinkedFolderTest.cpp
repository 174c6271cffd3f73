// Every folder a site's operations write, read or list, made a link to a
// folder outside the site that holds known files, one row per folder and
// operation: the operation never reaches through the link (the outside
// folder is byte for byte and mode for mode as it was), and where it
// refused something the user is told, naming the folder and that it is a
// link. Each site is made by the program from the shipped starter, with a
// photo, a folder of the user's files and a saved snapshot, and driven
// through the roads the program's own commands take.
#include "document/DocumentSiteBuilder.h"
#include "document/MyDocument.h"
#include "document/SiteJournal.h"
#include "document/Snapshots.h"
#include "document/ThemeArchive.h"
#include "model/files/XmlFiles.h"
#include "model/files/XmlFolder.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlHomePage.h"
#include "pipeline/XmlImportPhoto.h"
#include "platform/ConfinedFolder.h"
#include "platform/Workspace.h"
#include "platform/Zip.h"
#include "publish/FolderExport.h"
#include "publish/Publisher.h"
#include "publish/SendController.h"
#include "publish/XmlBom.h"
#include "publish/XmlD.h"
#include "publish/XmlLocation.h"
#include "support/EventLoop.h"
#include "support/HelperTools.h"
#include "support/OutsideTree.h"
#include "support/SiteBuildRun.h"
#include "support/StarterSite.h"
#include "support/TestFiles.h"
#include "support/TestPictures.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

enum class Operation {
    Open,
    Save,
    SaveAs,
    Revert,
    Rebuild,
    PhotoImport,
    ThemeInstall,
    ThemeImport,
    ThemeExport,
    Build,
    FolderExport,
    PublishToFolder,
};

const char* nameOf(Operation operation)
{
    switch (operation) {
    case Operation::Open: return "Open";
    case Operation::Save: return "Save";
    case Operation::SaveAs: return "SaveAs";
    case Operation::Revert: return "Revert";
    case Operation::Rebuild: return "Rebuild";
    case Operation::PhotoImport: return "PhotoImport";
    case Operation::ThemeInstall: return "ThemeInstall";
    case Operation::ThemeImport: return "ThemeImport";
    case Operation::ThemeExport: return "ThemeExport";
    case Operation::Build: return "Build";
    case Operation::FolderExport: return "FolderExport";
    case Operation::PublishToFolder: return "PublishToFolder";
    }
    return "?";
}

// Where the link is put.
enum class Place {
    Site,        // a folder of the site
    Destination, // a folder of the folder the site is exported to
};

// What the user is told after the operation.
enum class Told {
    Refusal, // a line, message or error names the folder and says it is a link
    Nothing, // nothing is refused: the link goes as the link it is (a leftover
             // staging folder, a folder of the generated site), never followed
};

struct LinkRow {
    const char* folder; // below the site folder, or below the destination
    Operation operation;
    Place place = Place::Site;
    Told told = Told::Refusal;
};

// A leftover staging folder of a save and of a theme install, as a killed
// program leaves one, planted as a link.
const QString savingStage = SiteJournal::saveStagingPrefix + QStringLiteral("left");
const QString themeStage = SiteJournal::themeStagingPrefix + QStringLiteral("left");

const LinkRow rows[] = {
    // Opening trims the snapshots, sweeps the pictures no version uses and
    // clears what killed changes left.
    { "revert", Operation::Open },
    { "pictures", Operation::Open },
    { ".lqtmp-left", Operation::Open, Place::Site, Told::Nothing },
    { ".lumenquill-theme-left", Operation::Open, Place::Site, Told::Nothing },
    // A save writes its snapshot of the site and of the theme's pictures.
    { "revert", Operation::Save },
    { "bitmaps2", Operation::Save },
    { ".lqtmp-left", Operation::Save, Place::Site, Told::Nothing },
    // Save As copies every folder of the site.
    { "pictures", Operation::SaveAs },
    { "revert", Operation::SaveAs },
    { "bitmaps2", Operation::SaveAs },
    { "files", Operation::SaveAs },
    { "files/sub", Operation::SaveAs },
    { "homepage", Operation::SaveAs },
    // A revert reads its snapshot.
    { "revert", Operation::Revert },
    { ".lumenquill-revert-left", Operation::Revert, Place::Site, Told::Nothing },
    // Rebuild Website lists the pictures and writes them anew.
    { "pictures", Operation::Rebuild },
    // The generated site's folders are the program's own: a link there goes
    // as the link it is, and the folder is made anew.
    { "homepage/pictures", Operation::Rebuild, Place::Site, Told::Nothing },
    // A photo import keeps its copy in the pictures.
    { "pictures", Operation::PhotoImport },
    // A theme install brings pictures and files.
    { "bitmaps2", Operation::ThemeInstall },
    { "files", Operation::ThemeInstall },
    { "files/theme", Operation::ThemeInstall },
    { ".lumenquill-theme-left", Operation::ThemeInstall, Place::Site, Told::Nothing },
    // A theme import does the same within a save.
    { "bitmaps2", Operation::ThemeImport },
    { "files/theme", Operation::ThemeImport },
    { "revert", Operation::ThemeImport },
    // A theme export reads the theme's pictures and the files ticked for it.
    { "bitmaps2", Operation::ThemeExport },
    { "files/sub", Operation::ThemeExport },
    // The build copies the user's files, and writes the generated site,
    // whose folders are the program's own (made anew in place of a link).
    { "files", Operation::Build },
    { "files/sub", Operation::Build },
    { "homepage", Operation::Build, Place::Site, Told::Nothing },
    { "homepage/pictures", Operation::Build, Place::Site, Told::Nothing },
    { "homepage/bitmaps", Operation::Build, Place::Site, Told::Nothing },
    // The export lists the generated site and writes the destination.
    { "homepage", Operation::FolderExport },
    // Publishing to a folder (the folder export the program runs) writes
    // the destination's folders.
    { "pictures", Operation::PublishToFolder, Place::Destination },
    { "bitmaps", Operation::PublishToFolder, Place::Destination },
};

std::string rowName(const ::testing::TestParamInfo<LinkRow>& info)
{
    std::string folder;
    for (const char c : std::string(info.param.folder))
        folder += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return std::string(nameOf(info.param.operation)) + (info.param.place == Place::Destination ? "_destination_" : "_") + folder;
}

class LinkedFolderTest : public StarterSiteTest, public ::testing::WithParamInterface<LinkRow> {
protected:
    LinkedFolderTest()
        : StarterSiteTest(QStringLiteral("Garden.lqxl"))
    {
    }

    void SetUp() override
    {
        qputenv("LUMENQUILL_LIBEXEC", QByteArray(LQ_TEST_LIBEXEC));
        useBuiltHelperTools();
        lq::setOpenURLHandler([](const QUrl&) { return true; });
        StarterSiteTest::SetUp();
        if (HasFatalFailure())
            return;
        // A page with a photo, the user's files in a folder (ticked for a
        // theme export), and a save: the site as a user has it.
        auto page = addPage(home(), 1, QStringLiteral("Roses"));
        importPhotos(*page, { picture(QStringLiteral("rose"), Qt::red) });
        ASSERT_EQ(page->photoObjects().size(), 1);
        XmlFiles& files = *site().files();
        writeAll(work.filePath(QStringLiteral("notes.txt")), "the user's notes");
        const auto subFolder = files.folderWithName(QStringLiteral("sub"));
        ASSERT_NE(subFolder, nullptr);
        ASSERT_TRUE(subFolder->importFilename(work.filePath(QStringLiteral("notes.txt"))));
        subFolder->setCheck(true);
        files.setCheck(true);
        for (const XmlBasePtr& child : subFolder->children())
            child->setCheck(true);
        ASSERT_TRUE(document.saveFileWithComment(folder, QStringLiteral("a photo"))) << document.lastError().toStdString();
    }

    void TearDown() override { lq::setOpenURLHandler({}); }

    // Puts a link to the folder outside in the place of the folder at the path.
    static void linkOut(const QString& place, const QString& target)
    {
        ASSERT_TRUE(QDir(place).removeRecursively() || !QFileInfo::exists(place));
        QFile::remove(place);
        ASSERT_TRUE(QFile::link(target, place)) << place.toStdString();
    }

    // A real JPEG outside the site, as a user has one.
    QString picture(const QString& name, const QColor& colour)
    {
        const QString path = work.filePath(name + QStringLiteral(".jpg"));
        writeAll(path, jpegBytes(320, 240, colour, 85));
        return path;
    }

    void importPhotos(XmlAlbum& page, const QStringList& paths)
    {
        document.startProcessor(XmlImportPhoto::createProcessorForFilesAlbumIndex(paths, page.UUID(), -1));
        runQueue();
    }

    // A theme archive as people pass them: the site's templates with four
    // files below "files/theme" (named as the files outside are) and a picture.
    std::unique_ptr<ThemeArchive> themeArchive()
    {
        const QString from = work.filePath(QStringLiteral("theme"));
        writeAll(from + QStringLiteral("/theme.xmlbase"), readAll(folder + QStringLiteral("/theme.xmlbase")));
        for (int i = 1; i <= 4; ++i)
            writeAll(from + QStringLiteral("/files/theme/image%1.jpg").arg(i), jpegBytes(16, 16, Qt::blue));
        writeAll(from + QStringLiteral("/bitmaps2/F00D.png"), encoded(solid(8, 8, Qt::blue), "PNG"));
        const QString archive = work.filePath(QStringLiteral("Theme.qvzip"));
        for (const QString& entry : QDir(from).entryList(QDir::AllEntries | QDir::NoDotAndDotDot))
            EXPECT_TRUE(lq::zipAdd(archive, from, entry, true));
        return ThemeArchive::unpack(archive);
    }

    // The newest snapshot of the site.
    QString newestSnapshot() const
    {
        QString newest;
        qint64 sequence = -1;
        for (const QFileInfo& entry : QDir(folder + QStringLiteral("/revert")).entryInfoList({ QStringLiteral("*.qvzip") }, QDir::Files)) {
            const qint64 number = Snapshots::sequenceOf(entry.absoluteFilePath()).value_or(-1);
            if (number > sequence) {
                sequence = number;
                newest = entry.absoluteFilePath();
            }
        }
        return newest;
    }

    void build()
    {
        SiteBuildRun run(document);
        ASSERT_TRUE(run.wait()) << run.why.toStdString() << document.activityText().toStdString();
    }

    // The export of the changes since the last one into the destination,
    // as the publisher makes it.
    QString exportToFolder()
    {
        const std::shared_ptr<XmlD> current = document.createXmlD(QString());
        if (!current)
            return QString();
        const std::shared_ptr<XmlD> last = document.lastXmlD();
        const auto bom = XmlBom::createWithSourceDest(current.get(), last.get());
        return lq::exportChangesToFolder(&document, bom.get(), current.get(), homepage(), destination());
    }

    QString destination() const { return work.filePath(QStringLiteral("published")); }

    // Whether the file below the folder (links not followed) holds the bytes
    // of a file outside.
    bool holdsOutsideBytes(const QString& path) const
    {
        QDirIterator it(path, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString file = it.next();
            if (QFileInfo(file).isSymLink())
                continue;
            const QByteArray bytes = readAll(file);
            if (bytes.contains("outside picture") || bytes.contains("the outside secret") || bytes.contains("inside the outside folder"))
                return true;
        }
        return false;
    }

    // Runs the row's operation the way the program does; answers everything
    // the user was told on the way.
    QString run(const LinkRow& row)
    {
        switch (row.operation) {
        case Operation::Open: {
            MyDocument reopened;
            reopened.readFromFile(folder);
            return reopened.activityText() + reopened.lastError() + reopened.lockWarning();
        }
        case Operation::Save: {
            firstPage().setName(QStringLiteral("Saved"));
            document.saveFileWithComment(folder, QStringLiteral("linked"));
            return document.lastError() + document.activityText();
        }
        case Operation::SaveAs: {
            const QString copy = work.filePath(QStringLiteral("Copy.lqxl"));
            document.saveAs(copy);
            EXPECT_FALSE(holdsOutsideBytes(copy)) << "nothing outside is copied into the new site";
            return document.lastError() + document.activityText();
        }
        case Operation::Revert:
            document.revertFromFile(snapshot);
            return document.lastError() + document.activityText();
        case Operation::Rebuild:
            document.rebuildEntireSite();
            runQueue();
            return document.activityText();
        case Operation::PhotoImport:
            importPhotos(firstPage(), { picture(QStringLiteral("tulip"), Qt::yellow) });
            return document.activityText();
        case Operation::ThemeInstall: {
            QString why;
            theme->installInto(*document.siteFolder(), &why);
            return why + document.activityText();
        }
        case Operation::ThemeImport:
            document.importTheme(*theme, false, QStringLiteral("Theme imported"));
            return document.lastError() + document.activityText();
        case Operation::ThemeExport: {
            const QString archive = work.filePath(QStringLiteral("Exported.qvzip"));
            QString why;
            ThemeArchive::write(archive, *document.siteFolder(), site().files(), &why);
            EXPECT_FALSE(readAll(archive).contains("outside")) << "nothing outside is packed into the theme";
            return why;
        }
        case Operation::Build: {
            SiteBuildRun run(document);
            run.wait();
            EXPECT_FALSE(holdsOutsideBytes(homepage())) << "nothing outside is read into the generated site";
            return run.why + document.activityText();
        }
        case Operation::FolderExport: {
            const QString error = exportToFolder();
            EXPECT_FALSE(holdsOutsideBytes(destination())) << "nothing outside is published";
            return error + document.activityText();
        }
        case Operation::PublishToFolder: {
            SendController sender(&document);
            DocumentSiteBuilder builder(document);
            Publisher publisher(document, sender);
            publisher.setSiteBuilder(&builder);
            XmlLocation& where = *document.location();
            where.setServerType(XmlLocation::LocalFolder);
            where.setExportFolder(QUrl::fromLocalFile(destination()).toString());
            publisher.publish(PublishRequest::fromLocation(where, homepage(), false));
            EXPECT_TRUE(processEventsUntil([&] { return sender.resultShown() || sender.taskError(); }, 120000));
            EXPECT_FALSE(holdsOutsideBytes(destination())) << "nothing outside is published";
            return sender.status1() + sender.status2() + document.activityText();
        }
        }
        return QString();
    }

    XmlAlbum& firstPage()
    {
        for (const XmlBasePtr& child : home().children())
            if (auto* page = XmlAlbum::cast(child.get()))
                return *page;
        return *XmlAlbum::cast(site().defaultAlbum().get());
    }

    OutsideTree outside { work.filePath(QStringLiteral("outside")) };
    std::unique_ptr<ThemeArchive> theme;
    QString snapshot;
};

TEST_P(LinkedFolderTest, NothingReachesThroughTheLinkAndTheUserIsToldWhatWasRefused)
{
    const LinkRow& row = GetParam();
    const QString name = QString::fromUtf8(row.folder);
    // What the operation needs from before the link is put.
    if (row.operation == Operation::ThemeInstall || row.operation == Operation::ThemeImport) {
        theme = themeArchive();
        ASSERT_NE(theme, nullptr);
    }
    snapshot = newestSnapshot();
    ASSERT_FALSE(snapshot.isEmpty());
    if (row.operation == Operation::FolderExport || row.operation == Operation::PublishToFolder) {
        build();
        ASSERT_EQ(exportToFolder(), QString());
        // The site changes, so that the next export copies its pictures and pages again.
        firstPage().setName(QStringLiteral("Changed"));
        importPhotos(firstPage(), { picture(QStringLiteral("tulip"), Qt::yellow) });
        build();
    }
    if (row.operation == Operation::Rebuild || row.folder == QStringLiteral("homepage/pictures") || row.folder == QStringLiteral("homepage/bitmaps"))
        build();
    const QString place = (row.place == Place::Destination ? destination() : folder) + QLatin1Char('/') + name;
    if (row.place == Place::Destination)
        ASSERT_TRUE(QFileInfo(place).isDir()) << "the first export made " << row.folder;
    linkOut(place, outside.path());

    const QString told = run(row);

    EXPECT_TRUE(outside.isUnchanged());
    if (row.told == Told::Refusal) {
        EXPECT_TRUE(told.contains(name + QStringLiteral(" is a link"))) << "told:\n" << told.toStdString() << "\nstill a link: " << QFileInfo(place).isSymLink();
    } else if (row.operation == Operation::Open || row.operation == Operation::Build || row.operation == Operation::Rebuild) {
        EXPECT_FALSE(QFileInfo(place).isSymLink()) << "the link went, and the program's own folder is there";
    }
}

INSTANTIATE_TEST_SUITE_P(EveryFolderAndOperation, LinkedFolderTest, ::testing::ValuesIn(rows), rowName);

} // namespace
