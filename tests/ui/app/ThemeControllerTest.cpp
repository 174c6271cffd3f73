// The "Themes" tab over a real theme library in the support folder: real
// theme archives made and read with the zip tools (comments checked with
// "unzip -z"), real pictures for icons, a real site with its layout editor.
#include "model/core/ElementFiles.h"
#include "ui/app/MyDocumentWindow.h"
#include "ui/app/ThemeController.h"
#include "document/MyDocument.h"
#include "ui/editors/QZArraySelectView2.h"
#include "ui/editors/XmlOutlineView.h"
#include "ui/layout/LayoutServices.h"
#include "model/files/XmlFile.h"
#include "model/files/XmlFolder.h"
#include "model/files/XmlQVZIPFile.h"
#include "model/files/XmlStandAloneFiles.h"
#include "theme/XmlTheme.h"
#include "platform/Process.h"
#include "platform/SupportPaths.h"
#include "platform/Zip.h"
#include "ui/widgets/DragText.h"
#include "ui/widgets/MyImageView.h"
#include "ui/widgets/MyTabView.h"
#include "support/ScopedServices.h"
#include "support/EventLoop.h"
#include "support/Printers.h"
#include "support/TestFiles.h"
#include "support/TestPictures.h"
#include "support/ui/CheckedModels.h"
#include "support/ui/DropEvents.h"
#include "support/ui/ScriptedModalHandler.h"
#include "support/ui/SheetHands.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

namespace {

// The archive's comment as the unzip tool shows it.
QString commentByUnzip(const QString& archive)
{
    const lq::ProcessResult shown = lq::runProcess(QStringLiteral("/usr/bin/unzip"), { QStringLiteral("-z"), archive });
    EXPECT_TRUE(shown.succeeded()) << shown.failureDetail(QStringLiteral("unzip")).toStdString();
    QStringList lines = QString::fromLocal8Bit(shown.output).split(QLatin1Char('\n'));
    lines.removeFirst(); // "Archive:  <path>"
    while (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines.join(QLatin1Char('\n'));
}

// The archive's members as the unzip tool lists them.
QStringList membersByUnzip(const QString& archive)
{
    const lq::ProcessResult listing = lq::runProcess(QStringLiteral("/usr/bin/unzip"), { QStringLiteral("-Z1"), archive });
    EXPECT_TRUE(listing.succeeded());
    return QString::fromUtf8(listing.output).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

// A theme archive as the library holds them: a theme, its bitmaps, an icon
// of one colour and a comment.
void writeThemeArchive(const QString& archive, const QString& comment, const QColor& icon)
{
    QTemporaryDir staging;
    ASSERT_TRUE(lq::saveToFile(*XmlTheme::create(), staging.filePath(QStringLiteral("theme.xmlbase"))));
    ASSERT_TRUE(QDir().mkpath(staging.filePath(QStringLiteral("bitmaps2"))));
    writeAll(staging.filePath(QStringLiteral("bitmaps2/back.png")), encoded(solid(8, 8, icon), "PNG"));
    ASSERT_TRUE(lq::zipAdd(archive, staging.path(), QStringLiteral("theme.xmlbase"), false));
    ASSERT_TRUE(lq::zipAdd(archive, staging.path(), QStringLiteral("bitmaps2"), true));
    ASSERT_TRUE(lq::setZipIcon(archive, solid(ThemeController::iconWidth, ThemeController::iconHeight, icon)));
    if (!comment.isEmpty()) {
        ASSERT_TRUE(lq::setZipComment(archive, comment));
    }
}

// A library of
//   Classic/  Sunset.qvzip ("Evening colours"), Sunset 2.qvzip ("Later"), Old.lqtm
//   Modern/   Glass.qvzip ("Clear"), Dark/ (empty)
// and a new site "Site.lqxl" open in its window with its layout editor, on
// the "Themes" tab.
class ThemeControllerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(work.isValid());
        library = lq::themeLibraryFolder();
        QDir(library).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(library + QStringLiteral("/Classic")));
        ASSERT_TRUE(QDir().mkpath(library + QStringLiteral("/Modern/Dark")));
        writeThemeArchive(inLibrary("Classic/Sunset.qvzip"), QStringLiteral("Evening colours"), QColor(230, 120, 30));
        writeThemeArchive(inLibrary("Classic/Sunset 2.qvzip"), QStringLiteral("Later"), QColor(120, 40, 90));
        writeAll(inLibrary("Classic/Old.lqtm"), "<theme/>");
        writeThemeArchive(inLibrary("Modern/Glass.qvzip"), QStringLiteral("Clear"), QColor(80, 160, 220));

        ASSERT_TRUE(document.newDocument(work.filePath(QStringLiteral("Site.lqxl")))) << qPrintable(document.lastError());
        document.clearChangeCount();
        window = std::make_unique<MyDocumentWindow>(document, nullptr);
        window->resize(1100, 700);
        window->show();
        window->setMainTab(QStringLiteral("Themes"));
        // The library tree and the window's other tables check themselves
        // at every change they report.
        models.watch(window.get());
        models.watch(&tree());
    }
    void TearDown() override
    {
        window.reset();
        EXPECT_TRUE(CheckedModels::failures().isEmpty()) << CheckedModels::failures().join(QLatin1Char('\n')).toStdString();
    }

    QString inLibrary(const char* path) const { return library + QLatin1Char('/') + QString::fromUtf8(path); }
    ThemeController& themes() { return *window->themeController(); }
    XmlOutlineView& tree() { return *themes().localThemeLibrary(); }
    QZArraySelectView2& grid() { return *themes().themeViewer(); }

    // The folder of the library at the path below it, as the tree holds it now.
    XmlFolder* folder(const char* path)
    {
        const QString full = inLibrary(path);
        std::function<XmlFolder*(XmlBase&)> search = [&](XmlBase& parent) -> XmlFolder* {
            for (const XmlBasePtr& child : parent.children()) {
                if (child->fullname() == full)
                    return XmlFolder::cast(child.get());
                if (XmlFolder* inside = search(*child))
                    return inside;
            }
            return nullptr;
        };
        return search(*document.themeLibrary());
    }
    // Clicks the folder in the tree, as the user does.
    void chooseFolder(const char* path)
    {
        XmlFolder* chosen = folder(path);
        ASSERT_NE(chosen, nullptr) << path;
        // Opened and shown, then clicked.
        tree().selectObject(chosen);
        const QRect shown = tree().visualRect(tree().currentIndex());
        QTest::mouseClick(tree().viewport(), Qt::LeftButton, {}, shown.center());
        ASSERT_EQ(themes().selectedFolder(), chosen);
    }
    QPoint centreOf(int index) { return grid().rectOfObjectAtIndex(index).center().toPoint(); }
    // The grid's index of the file (the folder's entries come sorted by name).
    int indexOf(const QString& fileName)
    {
        XmlStandAloneFiles& list = *themes().themeViewerList();
        for (int i = 0; i < list.numberChildren(); ++i) {
            if (XmlFile::cast(list.childAtIndex(i).get())->filename() == fileName)
                return i;
        }
        ADD_FAILURE() << fileName.toStdString() << " is not listed";
        return -1;
    }
    void clickTheme(const QString& fileName) { QTest::mouseClick(&grid(), Qt::LeftButton, {}, centreOf(indexOf(fileName))); }
    // The names the grid shows, in order.
    QStringList shownNames()
    {
        QStringList names;
        for (const XmlBasePtr& entry : themes().themeViewerList()->children())
            names.append(entry->name());
        return names;
    }
    XmlQVZIPFile* shownTheme() { return XmlQVZIPFile::cast(XmlBase::UUID(themes().lastThemeUUID()).get()); }
    QStringList entriesOf(const char* path) const { return QDir(inLibrary(path)).entryList(QDir::AllEntries | QDir::NoDotAndDotDot); }
    // Answers the theme-name sheets in turn: each types its text and presses
    // OK (a null text presses Cancel); notes whether the notice showed.
    void typeThemeNames(QList<QString> names)
    {
        modal.state->sheetAnswer = [this, names](QDialog* sheet) mutable {
            sheet->show();
            auto* notice = sheet->findChild<QLabel*>(QStringLiteral("themeAlreadyExists"));
            noticeShown.append(notice && notice->isVisibleTo(sheet));
            auto* field = sheet->findChild<QLineEdit*>(QStringLiteral("themeName"));
            presets.append(field ? field->text() : QString());
            const QString typed = names.isEmpty() ? QString() : names.takeFirst();
            if (typed.isNull()) {
                endSheet(sheet, field, Ending::Escape);
            } else {
                field->setText(typed);
                endSheet(sheet, field, Ending::Return);
            }
            sheet->hide();
            return sheet->result();
        };
    }

    // Every document window gets the real layout editor, as in the program.
    const ScopedServices layouts { lq::registerLayoutServices };
    QTemporaryDir work;
    QTemporaryDir outside;
    QString library;
    ScopedModalHandler modal;
    CheckedModels models;
    MyDocument document;
    std::unique_ptr<MyDocumentWindow> window;
    QList<bool> noticeShown;
    QStringList presets;
};

TEST_F(ThemeControllerTest, FoldersListTheirFilesAndTheChosenThemeShows)
{
    // Nothing is chosen at first: the grid starts empty.
    EXPECT_EQ(tree().rootElement().get(), document.themeLibrary());
    EXPECT_EQ(themes().selectedFolder(), nullptr);
    EXPECT_TRUE(shownNames().isEmpty());
    EXPECT_TRUE(themes().lastThemeUUID().isEmpty());
    EXPECT_EQ(tree().numberOfChildrenOfItem(nullptr), 2); // folders only

    chooseFolder("Classic");
    EXPECT_EQ(shownNames(), (QStringList { QStringLiteral("Old.lqtm"), QStringLiteral("Sunset 2"), QStringLiteral("Sunset") }));
    // The first entry is a plain file: it shows nothing.
    EXPECT_TRUE(themes().lastThemeUUID().isEmpty());
    clickTheme(QStringLiteral("Sunset.qvzip"));
    ASSERT_NE(shownTheme(), nullptr);
    EXPECT_EQ(shownTheme()->filename(), QStringLiteral("Sunset.qvzip"));
    EXPECT_EQ(themes().themeNameField()->text(), QStringLiteral("Sunset"));
    EXPECT_EQ(themes().comments()->toPlainText(), QStringLiteral("Evening colours"));
    const QImage icon = themes().themeThumbnailView()->image();
    EXPECT_EQ(icon.size(), QSize(180, 135));
    EXPECT_NEAR(QColor(icon.pixel(90, 67)).red(), 230, 8);

    // An empty folder empties the grid and forgets the theme; the preview stays.
    chooseFolder("Modern/Dark");
    EXPECT_TRUE(shownNames().isEmpty());
    EXPECT_TRUE(themes().lastThemeUUID().isEmpty());
    EXPECT_EQ(themes().comments()->toPlainText(), QStringLiteral("Evening colours"));
    EXPECT_TRUE(themes().comments()->isReadOnly());
    // With no theme shown a picture dropped on the thumbnail has nowhere to go.
    const QString picture = outside.filePath(QStringLiteral("icon.png"));
    writeAll(picture, encoded(solid(90, 60, Qt::red), "PNG"));
    const std::unique_ptr<QMimeData> dropped = fileManagerData({ picture });
    EXPECT_FALSE(dragAndDrop(themes().themeThumbnailView(), dropped.get(), QPointF(20, 20), Qt::CopyAction).accepted);
    EXPECT_EQ(lq::zipIcon(inLibrary("Classic/Sunset.qvzip")).size(), QSize(180, 135));
}

TEST_F(ThemeControllerTest, ChoosingAnotherThemeWritesTheCommentIntoTheFirstsArchive)
{
    chooseFolder("Classic");
    clickTheme(QStringLiteral("Sunset.qvzip"));
    themes().comments()->setPlainText(QStringLiteral("Warm, for autumn"));
    clickTheme(QStringLiteral("Sunset 2.qvzip"));
    EXPECT_EQ(commentByUnzip(inLibrary("Classic/Sunset.qvzip")), QStringLiteral("Warm, for autumn"));
    EXPECT_EQ(commentByUnzip(inLibrary("Classic/Sunset 2.qvzip")), QStringLiteral("Later"));
    EXPECT_EQ(themes().comments()->toPlainText(), QStringLiteral("Later"));

    // Unedited, the comment shown is written back all the same.
    ASSERT_TRUE(lq::setZipComment(inLibrary("Classic/Sunset 2.qvzip"), QStringLiteral("changed elsewhere")));
    clickTheme(QStringLiteral("Sunset.qvzip"));
    EXPECT_EQ(commentByUnzip(inLibrary("Classic/Sunset 2.qvzip")), QStringLiteral("Later"));

    // Listing the folder again and leaving the tab store it too.
    themes().comments()->setPlainText(QStringLiteral("Warm"));
    chooseFolder("Modern");
    EXPECT_EQ(commentByUnzip(inLibrary("Classic/Sunset.qvzip")), QStringLiteral("Warm"));
    themes().comments()->setPlainText(QStringLiteral("Clear glass"));
    themes().cancel();
    EXPECT_EQ(commentByUnzip(inLibrary("Modern/Glass.qvzip")), QStringLiteral("Clear glass"));
    EXPECT_TRUE(themes().lastThemeUUID().isEmpty());
    EXPECT_EQ(window->masterTab()->selectedIdentifier(), QStringLiteral("Editing"));
}

TEST_F(ThemeControllerTest, ACommentComesBackAsTypedOrIsRefusedWithTheReason)
{
    struct Case {
        const char* what;
        QString typed;
        QString stored; // what the archive holds afterwards
        bool told;
    };
    const QList<Case> cases = {
        { "a line with a dot and a last line end", QStringLiteral("Warm\n.\nfor autumn\n"),
            QStringLiteral("Warm\n.\nfor autumn\n"), false },
        { "more than an archive holds", QString(70000, QLatin1Char('w')), QStringLiteral("Warm\n.\nfor autumn\n"), true },
    };
    chooseFolder("Classic");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        modal.state->alerts.clear();
        clickTheme(QStringLiteral("Sunset.qvzip"));
        themes().comments()->setPlainText(c.typed);
        clickTheme(QStringLiteral("Sunset 2.qvzip"));
        EXPECT_EQ(lq::zipComment(inLibrary("Classic/Sunset.qvzip")), c.stored);
        ASSERT_EQ(modal.state->alerts.size(), c.told ? 1 : 0);
        if (c.told) {
            EXPECT_EQ(modal.state->alerts[0].title, QStringLiteral("The comment was not stored"));
            EXPECT_TRUE(modal.state->alerts[0].message.contains(QStringLiteral("more than the 65535"))) << modal.state->alerts[0].message.toStdString();
        }
    }
    clickTheme(QStringLiteral("Sunset.qvzip"));
    EXPECT_EQ(themes().comments()->toPlainText(), QStringLiteral("Warm\n.\nfor autumn\n"));
}

TEST_F(ThemeControllerTest, ImportsNeverReplaceWhatTheFolderHolds)
{
    writeThemeArchive(outside.filePath(QStringLiteral("Sunset.qvzip")), QStringLiteral("Imported"), Qt::green);
    writeAll(outside.filePath(QStringLiteral("Old.lqtm")), "<theme>new</theme>");
    const struct {
        QString chosen;
        const char* stored;
    } cases[] = {
        { outside.filePath(QStringLiteral("Sunset.qvzip")), "Classic/Sunset 3.qvzip" },
        { outside.filePath(QStringLiteral("Old.lqtm")), "Classic/Old 2.qvzip" },
        { outside.filePath(QStringLiteral("Sunset.qvzip")), "Classic/Sunset 4.qvzip" },
    };
    chooseFolder("Classic");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        modal.state->panelAnswer = c.chosen;
        themes().importTheme();
        EXPECT_EQ(readAll(inLibrary(c.stored)), readAll(c.chosen));
        EXPECT_TRUE(QFileInfo::exists(c.chosen));
    }
    EXPECT_EQ(commentByUnzip(inLibrary("Classic/Sunset.qvzip")), QStringLiteral("Evening colours"));
    EXPECT_EQ(readAll(inLibrary("Classic/Old.lqtm")), QByteArray("<theme/>"));
    EXPECT_TRUE(shownNames().contains(QStringLiteral("Sunset 4")));
    const lq::FilePanelRequest& asked = modal.state->panels.last();
    EXPECT_EQ(asked.title, QStringLiteral("Import Template"));
    EXPECT_EQ(asked.prompt, QStringLiteral("Open"));
    EXPECT_EQ(asked.nameFieldLabel, QStringLiteral("Open:"));
    EXPECT_EQ(asked.fileTypes, (QStringList{QStringLiteral("qvzip"), QStringLiteral("lqtm")}));

    // A name of another type typed into the panel is refused, and says why.
    writeAll(outside.filePath(QStringLiteral("notes.txt")), "not a theme");
    modal.state->panelAnswer = outside.filePath(QStringLiteral("notes.txt"));
    modal.state->alerts.clear();
    themes().importTheme();
    ASSERT_EQ(modal.state->alerts.size(), 1);
    EXPECT_EQ(modal.state->alerts[0].title, QStringLiteral("The theme could not be imported"));
    EXPECT_TRUE(modal.state->alerts[0].message.contains(QStringLiteral("\"notes.txt\" is no theme")));
    EXPECT_EQ(entriesOf("Classic").size(), 6);

    // Cancelled, or without a folder, nothing comes in.
    modal.state->panelAnswer.clear();
    themes().importTheme();
    EXPECT_EQ(entriesOf("Classic").size(), 6);
    tree().clearSelection();
    modal.state->panels.clear();
    modal.state->panelAnswer = cases[0].chosen;
    themes().importTheme();
    EXPECT_TRUE(modal.state->panels.isEmpty());
    EXPECT_EQ(entriesOf("Classic").size(), 6);

    // Files dropped on the grid come in the same way.
    chooseFolder("Modern");
    const std::unique_ptr<QMimeData> dropped = fileManagerData({ cases[0].chosen });
    EXPECT_TRUE(dragAndDrop(&grid(), dropped.get(), centreOf(0), Qt::CopyAction).accepted);
    EXPECT_TRUE(QFileInfo::exists(inLibrary("Modern/Sunset.qvzip")));
    EXPECT_TRUE(shownNames().contains(QStringLiteral("Sunset")));
}

TEST_F(ThemeControllerTest, RenamingAThemeMovesItsArchiveWithinItsFolder)
{
    ASSERT_TRUE(QFile::copy(inLibrary("Modern/Glass.qvzip"), inLibrary("Classic/Sun_rise.qvzip")));
    chooseFolder("Classic");
    ASSERT_TRUE(shownNames().contains(QStringLiteral("Sun:rise")));
    const QStringList before = entriesOf("Classic");
    const auto rename = [&](const QString& fileName, QList<QString> typed) {
        noticeShown.clear();
        presets.clear();
        typeThemeNames(typed);
        QTest::mouseDClick(&grid(), Qt::LeftButton, {}, centreOf(indexOf(fileName)));
    };

    // Its own display name, nothing, Cancel, or a name with a "/" change nothing.
    for (const QString& typed : { QStringLiteral("Sun:rise"), QStringLiteral(""), QString(), QStringLiteral("../Sunrise") }) {
        SCOPED_TRACE(typed.toStdString());
        rename(QStringLiteral("Sun_rise.qvzip"), { typed });
        EXPECT_EQ(presets, QStringList { QStringLiteral("Sun:rise") });
        EXPECT_EQ(entriesOf("Classic"), before);
    }
    EXPECT_FALSE(QFileInfo::exists(inLibrary("Sunrise.qvzip")));

    // A new name moves the archive; the field shows the file's name.
    rename(QStringLiteral("Sun_rise.qvzip"), { QStringLiteral("Dawn") });
    EXPECT_TRUE(QFileInfo::exists(inLibrary("Classic/Dawn.qvzip")));
    EXPECT_FALSE(QFileInfo::exists(inLibrary("Classic/Sun_rise.qvzip")));
    EXPECT_EQ(themes().themeNameField()->text(), QStringLiteral("Dawn"));
    EXPECT_EQ(shownTheme()->filename(), QStringLiteral("Dawn.qvzip"));

    // A name that is taken asks again, with the notice, until one is free.
    rename(QStringLiteral("Dawn.qvzip"), { QStringLiteral("Sunset"), QStringLiteral("Sunset 2"), QStringLiteral("Morning") });
    EXPECT_EQ(noticeShown, (QList<bool> { false, true, true }));
    EXPECT_EQ(presets, (QStringList { QStringLiteral("Dawn"), QStringLiteral("Sunset"), QStringLiteral("Sunset 2") }));
    EXPECT_TRUE(QFileInfo::exists(inLibrary("Classic/Morning.qvzip")));
    EXPECT_EQ(commentByUnzip(inLibrary("Classic/Sunset.qvzip")), QStringLiteral("Evening colours"));
    // Cancelling the second question leaves the theme where it was.
    rename(QStringLiteral("Morning.qvzip"), { QStringLiteral("Sunset"), QString() });
    EXPECT_TRUE(QFileInfo::exists(inLibrary("Classic/Morning.qvzip")));
    EXPECT_EQ(entriesOf("Classic").size(), 4);
}

TEST_F(ThemeControllerTest, RenamingAFolderInTheTreeMovesItOnDisk)
{
    // Typed into the chosen folder's row, as the user edits its name.
    const auto typeName = [&](const char* path, const QString& typed) {
        chooseFolder(path);
        const QModelIndex row = tree().currentIndex();
        ASSERT_TRUE(tree().model()->flags(row) & Qt::ItemIsEditable);
        tree().model()->setData(row, typed, Qt::EditRole);
        QCoreApplication::processEvents();
    };
    const QStringList before = QDir(library).entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name);

    // Its own name, nothing, a name that is taken or one that leaves the folder change nothing.
    for (const QString& typed : { QStringLiteral("Classic"), QStringLiteral(""), QStringLiteral("Modern"), QStringLiteral("../Classic2") }) {
        SCOPED_TRACE(typed.toStdString());
        typeName("Classic", typed);
        EXPECT_EQ(QDir(library).entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name), before);
        EXPECT_EQ(entriesOf("Classic").size(), 3);
    }

    // A new name moves the folder with its themes; it stays chosen.
    typeName("Modern/Dark", QStringLiteral("Night"));
    EXPECT_TRUE(QFileInfo(inLibrary("Modern/Night")).isDir());
    EXPECT_FALSE(QFileInfo::exists(inLibrary("Modern/Dark")));
    typeName("Classic", QStringLiteral("Old School"));
    EXPECT_EQ(commentByUnzip(inLibrary("Old School/Sunset.qvzip")), QStringLiteral("Evening colours"));
    EXPECT_FALSE(QFileInfo::exists(inLibrary("Classic")));
    ASSERT_NE(themes().selectedFolder(), nullptr);
    EXPECT_EQ(themes().selectedFolder()->fullname(), inLibrary("Old School"));
    EXPECT_TRUE(shownNames().contains(QStringLiteral("Sunset")));
}

TEST_F(ThemeControllerTest, FoldersAndThemesMoveByDragAndDrop)
{
    XmlBase* root = document.themeLibrary();
    const auto drop = [&](XmlBase* dragged, XmlBase* target) {
        const std::unique_ptr<QMimeData> data(lq::dragMimeData({ dragged->UUID() }));
        if (tree().validateDrop(data.get(), target == root ? nullptr : target, -1) == Qt::IgnoreAction)
            return false;
        const bool taken = tree().acceptDrop(data.get(), target == root ? nullptr : target, -1);
        tree().dropSessionEnded();
        QCoreApplication::processEvents();
        return taken;
    };

    // A folder never goes into itself or into one of its own folders.
    EXPECT_FALSE(drop(folder("Modern"), folder("Modern/Dark")));
    EXPECT_FALSE(drop(folder("Modern"), folder("Modern")));
    EXPECT_TRUE(QFileInfo(inLibrary("Modern/Dark")).isDir());
    // It goes into another folder, or to the top.
    EXPECT_TRUE(drop(folder("Modern/Dark"), folder("Classic")));
    EXPECT_TRUE(QFileInfo(inLibrary("Classic/Dark")).isDir());
    EXPECT_FALSE(QFileInfo::exists(inLibrary("Modern/Dark")));
    EXPECT_EQ(themes().selectedFolder(), folder("Classic/Dark"));
    EXPECT_TRUE(drop(folder("Classic/Dark"), root));
    EXPECT_TRUE(QFileInfo(inLibrary("Dark")).isDir());
    // Not onto a folder that holds one of its name.
    ASSERT_TRUE(QDir().mkpath(inLibrary("Classic/Dark")));
    tree().reloadData();
    EXPECT_FALSE(drop(folder("Dark"), folder("Classic")));
    EXPECT_TRUE(QFileInfo(inLibrary("Dark")).isDir());

    // A theme from the grid goes onto a folder, never to the top.
    chooseFolder("Classic");
    XmlBasePtr sunset = themes().themeViewerList()->childAtIndex(indexOf(QStringLiteral("Sunset.qvzip")));
    EXPECT_FALSE(drop(sunset.get(), root));
    EXPECT_TRUE(drop(sunset.get(), folder("Modern")));
    EXPECT_TRUE(QFileInfo::exists(inLibrary("Modern/Sunset.qvzip")));
    EXPECT_FALSE(QFileInfo::exists(inLibrary("Classic/Sunset.qvzip")));
    EXPECT_EQ(shownNames(), (QStringList { QStringLiteral("Old.lqtm"), QStringLiteral("Sunset 2") }));
    // Onto a folder that holds its namesake: another name is asked for.
    ASSERT_TRUE(QFile::copy(inLibrary("Modern/Sunset.qvzip"), inLibrary("Classic/Sunset.qvzip")));
    chooseFolder("Classic");
    typeThemeNames({ QStringLiteral("Glass"), QStringLiteral("Sunset Copy") });
    EXPECT_TRUE(drop(themes().themeViewerList()->childAtIndex(indexOf(QStringLiteral("Sunset.qvzip"))).get(), folder("Modern")));
    EXPECT_EQ(noticeShown, (QList<bool> { true, true }));
    EXPECT_TRUE(QFileInfo::exists(inLibrary("Modern/Sunset Copy.qvzip")));
    EXPECT_EQ(commentByUnzip(inLibrary("Modern/Glass.qvzip")), QStringLiteral("Clear"));

    // Files from a file manager dropped on a folder are copied into it; a
    // theme of the same name stays, and the new one takes the next free name.
    writeThemeArchive(outside.filePath(QStringLiteral("Glass.qvzip")), QStringLiteral("Newer glass"), Qt::white);
    const std::unique_ptr<QMimeData> files = fileManagerData({ outside.filePath(QStringLiteral("Glass.qvzip")) });
    for (const char* into : { "Glass 2.qvzip", "Glass 3.qvzip" }) {
        SCOPED_TRACE(into);
        ASSERT_NE(tree().validateDrop(files.get(), folder("Modern"), -1), Qt::IgnoreAction);
        EXPECT_TRUE(tree().acceptDrop(files.get(), folder("Modern"), -1));
        tree().dropSessionEnded();
        QCoreApplication::processEvents();
        EXPECT_EQ(commentByUnzip(inLibrary("Modern/Glass.qvzip")), QStringLiteral("Clear"));
        EXPECT_EQ(commentByUnzip(library + QStringLiteral("/Modern/") + QString::fromUtf8(into)), QStringLiteral("Newer glass"));
    }
}

TEST_F(ThemeControllerTest, DeletingAsksFirst)
{
    chooseFolder("Classic");
    clickTheme(QStringLiteral("Sunset.qvzip"));
    const struct {
        int answer;
        bool kept;
    } cases[] = { { 1, true }, { 0, false } };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answer);
        modal.state->alerts.clear();
        modal.state->alertAnswer = c.answer;
        clickTheme(QStringLiteral("Sunset.qvzip"));
        QTest::keyClick(&grid(), Qt::Key_Delete);
        ASSERT_EQ(modal.state->alerts.size(), 1);
        EXPECT_EQ(modal.state->alerts[0].title, QStringLiteral("Confirmation"));
        EXPECT_EQ(modal.state->alerts[0].message,
            QStringLiteral("Are you sure you want to delete the theme \"Sunset\" from the Theme Library?"));
        EXPECT_EQ(QFileInfo::exists(inLibrary("Classic/Sunset.qvzip")), c.kept);
    }
    EXPECT_EQ(shownNames(), (QStringList { QStringLiteral("Old.lqtm"), QStringLiteral("Sunset 2") }));

    // A folder: its content counted, kept on Cancel (on disk and in the tree).
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answer);
        modal.state->alerts.clear();
        modal.state->alertAnswer = c.answer;
        chooseFolder("Modern");
        QTest::keyClick(&tree(), Qt::Key_Delete);
        ASSERT_EQ(modal.state->alerts.size(), 1);
        EXPECT_EQ(modal.state->alerts[0].title, QStringLiteral("Confirmation - Folder Delete"));
        EXPECT_EQ(modal.state->alerts[0].message, QStringLiteral("There are 1 folder(s) and 1 theme(s) inside this folder.  "
                                                                 "Are you sure you want to delete the folder \"Modern\" from the Theme Library?"));
        EXPECT_EQ(QFileInfo::exists(inLibrary("Modern/Glass.qvzip")), c.kept);
        EXPECT_EQ(folder("Modern") != nullptr, c.kept);
    }
    EXPECT_TRUE(shownNames().isEmpty());
}

TEST_F(ThemeControllerTest, TheSitesThemeIsAddedWithItsBitmapsAndIcon)
{
    const QString siteTheme = work.filePath(QStringLiteral("Site.lqxl/theme.xmlbase"));
    const QByteArray savedTheme = readAll(siteTheme);
    ASSERT_TRUE(QFile::copy(inLibrary("Modern/Glass.qvzip"), inLibrary("Modern/Site.qvzip")));
    // Unsaved changes go into the archive, not into the site's own file.
    document.theme()->childAtIndex(0)->setName(QStringLiteral("Renamed, not saved"));
    chooseFolder("Modern");
    themes().addThemeToLibrary();

    const QString added = inLibrary("Modern/Site 2.qvzip");
    ASSERT_TRUE(QFileInfo::exists(added));
    const QStringList members = membersByUnzip(added);
    EXPECT_TRUE(members.contains(QStringLiteral("theme.xmlbase")));
    EXPECT_TRUE(members.contains(QStringLiteral("bitmaps2/")));
    EXPECT_TRUE(members.contains(QStringLiteral("icon.jpg")));
    EXPECT_EQ(lq::zipIcon(added).size(), QSize(180, 135));
    EXPECT_EQ(lq::zipComment(added), QString());
    EXPECT_EQ(readAll(siteTheme), savedTheme);
    QTemporaryDir unpacked;
    ASSERT_TRUE(lq::unzipInto(added, unpacked.path()));
    EXPECT_TRUE(readAll(unpacked.filePath(QStringLiteral("theme.xmlbase"))).contains("Renamed, not saved"));
    // The new theme is the one shown.
    ASSERT_NE(shownTheme(), nullptr);
    EXPECT_EQ(shownTheme()->filename(), QStringLiteral("Site 2.qvzip"));

    themes().addThemeToLibrary();
    EXPECT_TRUE(QFileInfo::exists(inLibrary("Modern/Site 3.qvzip")));
    // Without a folder nothing is written.
    tree().clearSelection();
    themes().addThemeToLibrary();
    EXPECT_EQ(entriesOf("Modern").size(), 5);
    EXPECT_EQ(QDir(library).entryList(QDir::Files).size(), 0);
}

TEST_F(ThemeControllerTest, ExportIconAndNewFolder)
{
    chooseFolder("Modern");
    themes().comments()->setPlainText(QStringLiteral("Exported as shown"));
    const QString copy = outside.filePath(QStringLiteral("Copy.qvzip"));
    writeAll(copy, "an older file the panel asked to replace");
    modal.state->panelAnswer = outside.filePath(QStringLiteral("Copy"));
    themes().exportTheme();
    const lq::FilePanelRequest& asked = modal.state->panels.last();
    EXPECT_EQ(asked.title, QStringLiteral("Export Template"));
    EXPECT_EQ(asked.prompt, QStringLiteral("Export"));
    EXPECT_EQ(asked.nameFieldLabel, QStringLiteral("Export As:"));
    EXPECT_EQ(asked.proposedName, QStringLiteral("Glass"));
    EXPECT_EQ(readAll(copy), readAll(inLibrary("Modern/Glass.qvzip")));
    EXPECT_EQ(commentByUnzip(copy), QStringLiteral("Exported as shown"));

    // A picture dropped on the thumbnail becomes the icon, at its own size.
    const QString picture = outside.filePath(QStringLiteral("icon.png"));
    writeAll(picture, encoded(solid(90, 60, Qt::red), "PNG"));
    const std::unique_ptr<QMimeData> dropped = fileManagerData({ picture });
    EXPECT_TRUE(dragAndDrop(themes().themeThumbnailView(), dropped.get(), QPointF(20, 20), Qt::CopyAction).accepted);
    const QImage icon = lq::zipIcon(inLibrary("Modern/Glass.qvzip"));
    EXPECT_EQ(icon.size(), QSize(90, 60));
    EXPECT_GT(QColor(icon.pixel(45, 30)).red(), 200);
    // A file that holds no picture is refused.
    writeAll(outside.filePath(QStringLiteral("notes.txt")), "no picture");
    const std::unique_ptr<QMimeData> text = fileManagerData({ outside.filePath(QStringLiteral("notes.txt")) });
    EXPECT_FALSE(dragAndDrop(themes().themeThumbnailView(), text.get(), QPointF(20, 20), Qt::CopyAction).accepted);
    EXPECT_EQ(lq::zipIcon(inLibrary("Modern/Glass.qvzip")).size(), QSize(90, 60));

    // A new folder goes beside the chosen one; Escape makes none.
    const auto nameFolder = [&](const QString& name, Ending ending) {
        modal.state->sheetAnswer = [name, ending](QDialog* sheet) {
            sheet->show();
            auto* field = sheet->findChild<QLineEdit*>(QStringLiteral("createFolderName"));
            field->setText(name);
            endSheet(sheet, field, ending);
            sheet->hide();
            return sheet->result();
        };
        themes().newFolder();
    };
    chooseFolder("Modern/Dark");
    nameFolder(QStringLiteral("Light"), Ending::Return);
    EXPECT_TRUE(QFileInfo(inLibrary("Modern/Light")).isDir());
    EXPECT_EQ(themes().selectedFolder(), folder("Modern/Light"));
    nameFolder(QStringLiteral("Never"), Ending::Escape);
    nameFolder(QStringLiteral("Never"), Ending::CancelButton);
    EXPECT_FALSE(QFileInfo::exists(inLibrary("Modern/Never")));
    modal.state->alerts.clear();
    nameFolder(QStringLiteral("Dark"), Ending::Return);
    ASSERT_EQ(modal.state->alerts.size(), 1);
    nameFolder(QStringLiteral("../Escaped"), Ending::Return);
    EXPECT_FALSE(QFileInfo::exists(inLibrary("Escaped")));
    EXPECT_FALSE(QFileInfo::exists(library + QStringLiteral("/../Escaped")));
    // Renamed in the tree, the folder is renamed on disk.
    tree().setObjectValueForColumn(QStringLiteral("Bright"), QStringLiteral("name"), folder("Modern/Light"));
    QCoreApplication::processEvents();
    EXPECT_TRUE(QFileInfo(inLibrary("Modern/Bright")).isDir());
    EXPECT_EQ(themes().selectedFolder(), folder("Modern/Bright"));
}

TEST_F(ThemeControllerTest, UsingAThemeHandsItToTheSiteAndGoesBackToEditing)
{
    chooseFolder("Classic");
    // A plain file is no theme: the tab stays.
    clickTheme(QStringLiteral("Old.lqtm"));
    themes().selectTheme();
    EXPECT_EQ(window->masterTab()->selectedIdentifier(), QStringLiteral("Themes"));

    // The site takes the theme: it asks whether to add or replace, and the
    // answer "Add" brings it in without a complaint.
    ScopedModalHandler modal;
    QStringList asked;
    modal.state->sheetAnswer = [&](QDialog* sheet) {
        asked.append(sheet->windowTitle());
        return 1; // the sheet's "Add" button
    };
    clickTheme(QStringLiteral("Sunset.qvzip"));
    themes().comments()->setPlainText(QStringLiteral("Chosen"));
    themes().selectTheme();
    EXPECT_EQ(window->masterTab()->selectedIdentifier(), QStringLiteral("Editing"));
    EXPECT_TRUE(themes().lastThemeUUID().isEmpty());
    EXPECT_EQ(commentByUnzip(inLibrary("Classic/Sunset.qvzip")), QStringLiteral("Chosen"));
    EXPECT_EQ(asked, QStringList { QStringLiteral("Import Theme") });
    EXPECT_TRUE(modal.state->alerts.isEmpty()) << modal.state->alerts.value(0).message.toStdString();

    // Back on the tab, the library is read again and the choice kept.
    ASSERT_TRUE(QDir().mkpath(inLibrary("Later")));
    window->setMainTab(QStringLiteral("Themes"));
    EXPECT_NE(folder("Later"), nullptr);
    EXPECT_EQ(themes().selectedFolder(), folder("Classic"));
    ASSERT_NE(shownTheme(), nullptr);
    EXPECT_EQ(shownTheme()->filename(), QStringLiteral("Sunset.qvzip"));
}

} // namespace
