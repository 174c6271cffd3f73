// The template and include-file sheets: copying page settings and
// elements between templates, deleting templates no page uses, and the
// theme export with the files the user ticked.
#include "ui/app/CopyElements.h"
#include "ui/app/DeleteTemplates.h"
#include "ui/app/IncludeFiles.h"
#include "ui/app/MenuTags.h"
#include "ui/app/MyDocumentWindow.h"
#include "document/MyDocument.h"
#include "ui/editors/XmlOutlineView.h"
#include "elements/XmlVornBox.h"
#include "model/files/XmlFile.h"
#include "model/files/XmlFiles.h"
#include "model/files/XmlFolder.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlHomePage.h"
#include "model/site/XmlSite.h"
#include "theme/XmlTheme.h"
#include "support/TestFiles.h"
#include "support/TestPictures.h"
#include "support/ZipListing.h"
#include "support/ui/CheckedModels.h"
#include "support/ui/SheetButtons.h"
#include "support/ui/StarterSiteWindow.h"
#include "templates/XmlCSSImage.h"
#include "templates/XmlStyleSheet.h"

#include <QSet>
#include <QTemporaryDir>

#include <functional>

#include <gtest/gtest.h>

namespace {

// Ticks the entries of the list's tree whose names are given.
void tick(XmlOutlineView* list, const QStringList& names)
{
    const XmlBasePtr root = list->rootElement();
    ASSERT_NE(root, nullptr);
    for (const QString& name : names) {
        const auto entry = root->firstChildOfType<XmlBase>([&](const XmlBase& child) { return child.name() == name; });
        ASSERT_NE(entry, nullptr) << name.toStdString();
        entry->setCheck(true);
    }
}

QStringList entryNames(XmlOutlineView* list)
{
    QStringList names;
    if (const XmlBasePtr root = list->rootElement()) {
        for (const XmlBasePtr& child : root->children())
            names.append(child->name());
    }
    return names;
}

// The XML of every child, the template's own settings left out.
QStringList childrenXml(const XmlStyleSheet& sheet)
{
    QStringList xml;
    for (const XmlBasePtr& child : sheet.children())
        xml.append(child->createXml());
    return xml;
}

class TemplateDialogsTest : public StarterSiteWindowTest {
protected:
    // The tables of every sheet shown check themselves while it is answered.
    void TearDown() override
    {
        EXPECT_TRUE(CheckedModels::failures().isEmpty()) << CheckedModels::failures().join(QLatin1Char('\n')).toStdString();
    }
    XmlStyleSheet* sheetNamed(const QString& name)
    {
        for (const auto& sheet : document.theme()->childrenOfType<XmlStyleSheet>()) {
            if (sheet->name() == name)
                return sheet.get();
        }
        return nullptr;
    }
    QStringList templateNames()
    {
        QStringList names;
        for (const auto& sheet : document.theme()->childrenOfType<XmlStyleSheet>())
            names.append(sheet->name());
        return names;
    }
    // A copy of the first template under the name, added to the theme.
    XmlStyleSheet* spare(const QString& name)
    {
        auto sheet = std::dynamic_pointer_cast<XmlStyleSheet>(document.defaultTemplate()->copyWithZone());
        sheet->setName(name);
        document.theme()->addTemplate(sheet);
        return sheet.get();
    }
    // Runs the copy sheet for the source, ticking those parts and targets.
    void copy(XmlStyleSheet* source, const QStringList& parts, const QStringList& targets, QStringList* listed = nullptr)
    {
        modal.state->sheetAnswer = models.checkingSheets([&](QDialog* shown) {
            auto* sheet = dynamic_cast<CopyElements*>(shown);
            EXPECT_NE(sheet, nullptr);
            if (listed)
                *listed = entryNames(sheet->elementList());
            tick(sheet->elementList(), parts);
            tick(sheet->templateList(), targets);
            return pressButton(sheet, QStringLiteral("Copy"));
        });
        CopyElements(window.get(), document).copyElements(source);
    }

    CheckedModels models;
};

TEST_F(TemplateDialogsTest, CopyingPageSettingsChangesTheNineSettingsAndNoElement)
{
    XmlStyleSheet* source = sheetNamed(QStringLiteral("Home Page"));
    XmlStyleSheet* target = sheetNamed(QStringLiteral("Text Page"));
    XmlStyleSheet* bystander = sheetNamed(QStringLiteral("Photo Album"));
    ASSERT_TRUE(source && target && bystander);
    source->setCenterHorz(!target->centerHorz());
    source->setCenterVert(!target->centerVert());
    source->setBkgnd(3);
    source->setBkgndColor(lq::Colour(0.1f, 0.2f, 0.3f));
    auto picture = XmlCSSImage::create();
    picture->setImageUUID(QStringLiteral("0011223344556677"));
    source->setImage(picture);
    source->setTopSlice(40);
    source->setBottomSlice(12);
    const QStringList targetElements = childrenXml(*target);
    const QString bystanderBefore = bystander->createXml();
    const int targetWidth = target->storedPageWidth();

    QStringList listed;
    copy(source, {QStringLiteral("Page Settings")}, {QStringLiteral("Text Page")}, &listed);
    ASSERT_FALSE(listed.isEmpty());
    EXPECT_EQ(listed.first(), QStringLiteral("Page Settings"));
    EXPECT_EQ(listed.size(), source->numberChildren() + 1);

    EXPECT_EQ(target->centerHorz(), source->centerHorz());
    EXPECT_EQ(target->centerVert(), source->centerVert());
    EXPECT_EQ(target->bkgnd(), 3);
    EXPECT_EQ(target->bkgndColor(), source->bkgndColor());
    ASSERT_NE(target->image(), nullptr);
    EXPECT_NE(target->image(), source->image());
    EXPECT_EQ(target->image()->imageUUID(), QStringLiteral("0011223344556677"));
    EXPECT_EQ(target->bxoffset(), source->bxoffset());
    EXPECT_EQ(target->byoffset(), source->byoffset());
    EXPECT_EQ(target->topSlice(), 40);
    EXPECT_EQ(target->bottomSlice(), 12);
    EXPECT_EQ(childrenXml(*target), targetElements);
    EXPECT_EQ(target->storedPageWidth(), targetWidth);
    EXPECT_EQ(bystander->createXml(), bystanderBefore);
    EXPECT_TRUE(document.isDocumentEdited());
}

TEST_F(TemplateDialogsTest, ElementsReplaceTheirNamesakesAndVornBoxesAreAdded)
{
    XmlStyleSheet* source = sheetNamed(QStringLiteral("Home Page"));
    XmlStyleSheet* withMasthead = sheetNamed(QStringLiteral("Text Page"));
    XmlStyleSheet* without = sheetNamed(QStringLiteral("Photo Album"));
    ASSERT_TRUE(source && withMasthead && without);
    const XmlBasePtr masthead = source->getElementWithName(QStringLiteral("Masthead"));
    ASSERT_NE(masthead, nullptr);
    masthead->setAttributeTo(QStringLiteral("v"), QStringLiteral("0"));
    without->removeChild(without->getElementWithName(QStringLiteral("Masthead")).get());
    auto box = source->addVornBox();
    box->setFullname(QStringLiteral("Badge"));
    const int boxesBefore = static_cast<int>(withMasthead->getVornBoxes().size());
    const QString withoutBefore = without->createXml();
    const int place = withMasthead->indexOfChild(withMasthead->getElementWithName(QStringLiteral("Masthead")).get());

    // Only the masthead first: it replaces the namesake in place, and a
    // template without one stays as it was.
    copy(source, {QStringLiteral("Masthead")}, {QStringLiteral("Text Page"), QStringLiteral("Photo Album")});
    const XmlBasePtr copied = withMasthead->getElementWithName(QStringLiteral("Masthead"));
    ASSERT_NE(copied, nullptr);
    EXPECT_NE(copied, masthead);
    EXPECT_EQ(withMasthead->indexOfChild(copied.get()), place);
    EXPECT_EQ(copied->createXml(), masthead->createXml());
    EXPECT_EQ(without->createXml(), withoutBefore);

    // A Vorn Box is added each time, under its own name.
    copy(source, {QStringLiteral("Badge")}, {QStringLiteral("Text Page")});
    copy(source, {QStringLiteral("Badge")}, {QStringLiteral("Text Page")});
    const auto boxes = withMasthead->getVornBoxes();
    ASSERT_EQ(static_cast<int>(boxes.size()), boxesBefore + 2);
    EXPECT_EQ(boxes.last()->fullname(), QStringLiteral("Badge"));

    // Cancelled, nothing is copied.
    const QString targetBefore = withMasthead->createXml();
    modal.state->sheetAnswer = models.checkingSheets([](QDialog* shown) {
        tick(static_cast<CopyElements*>(shown)->elementList(), {QStringLiteral("Page Settings")});
        tick(static_cast<CopyElements*>(shown)->templateList(), {QStringLiteral("Text Page")});
        return pressKey(shown, Qt::Key_Escape);
    });
    CopyElements(window.get(), document).copyElements(source);
    EXPECT_EQ(withMasthead->createXml(), targetBefore);
}

TEST_F(TemplateDialogsTest, OnlyTemplatesNoPageUsesAreOfferedForDeletion)
{
    const QStringList own = templateNames();
    spare(QStringLiteral("Spare 1"));
    spare(QStringLiteral("Spare 2"));
    QStringList listed;
    const auto answer = [&](const QStringList& ticked, bool confirm) {
        modal.state->sheetAnswer = models.checkingSheets([&, ticked, confirm](QDialog* shown) {
            auto* sheet = dynamic_cast<DeleteTemplates*>(shown);
            listed = entryNames(sheet->deleteList());
            tick(sheet->deleteList(), ticked);
            return confirm ? pressButton(sheet, QStringLiteral("Delete")) : pressKey(sheet, Qt::Key_Escape);
        });
    };
    answer({QStringLiteral("Spare 2")}, false);
    EXPECT_EQ(DeleteTemplates(window.get(), document).deleteTemplates(), 0);
    EXPECT_EQ(listed, (QStringList{QStringLiteral("Spare 1"), QStringLiteral("Spare 2")}));
    EXPECT_EQ(templateNames().size(), own.size() + 2);

    answer({QStringLiteral("Spare 2")}, true);
    EXPECT_EQ(DeleteTemplates(window.get(), document).deleteTemplates(), 1);
    EXPECT_EQ(templateNames(), own + QStringList{QStringLiteral("Spare 1")});

    // Without pages every template is unused; one always stays.
    for (const auto& page : document.site()->homepage()->childrenOfType<XmlAlbum>())
        document.site()->homepage()->removeChild(page.get());
    answer(templateNames(), true);
    EXPECT_EQ(DeleteTemplates(window.get(), document).deleteTemplates(), own.size());
    EXPECT_EQ(templateNames(), QStringList{own.first()});
    ASSERT_EQ(modal.state->alerts.size(), 1);
    EXPECT_TRUE(modal.state->alerts[0].message.contains(own.first()));
}

TEST_F(TemplateDialogsTest, AThemeExportHoldsTheThemeTheBitmapsAndTheTickedFiles)
{
    writeAll(folder + QStringLiteral("/files/pics/a.png"), encoded(solid(8, 8, Qt::green), "PNG"));
    writeAll(folder + QStringLiteral("/files/b.txt"), "b");
    document.site()->refreshFiles();
    XmlFiles* files = document.site()->files();
    struct Case {
        const char* what;
        QStringList ticked;
        QStringList entries;
    };
    const QList<Case> cases = {
        {"nothing ticked", {}, {QStringLiteral("theme.xmlbase"), QStringLiteral("bitmaps2/")}},
        {"a file in a folder", {QStringLiteral("a.png")},
            {QStringLiteral("theme.xmlbase"), QStringLiteral("bitmaps2/"), QStringLiteral("files/pics/a.png")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        bool listedTheFiles = false;
        modal.state->sheetAnswer = models.checkingSheets([&](QDialog* shown) {
            auto* sheet = dynamic_cast<IncludeFiles*>(shown);
            listedTheFiles = sheet && sheet->filesList()->rootElement().get() == files;
            files->callSelectorOnObject([&](XmlBase& element) {
                if (XmlFile::cast(&element) && c.ticked.contains(element.name()))
                    element.setCheck(true);
            });
            return pressButton(shown, QStringLiteral("OK"));
        });
        const QString archive = work.filePath(QString::fromLatin1(c.what).replace(QLatin1Char(' '), QLatin1Char('-')));
        modal.state->panelAnswer = archive;
        modal.state->panels.clear();
        window->menuClicked(MenuTag::ExportTheme);
        EXPECT_TRUE(listedTheFiles);
        ASSERT_EQ(modal.state->panels.size(), 1);
        EXPECT_EQ(modal.state->panels[0].title, QStringLiteral("Export Template"));
        EXPECT_EQ(unzipListing(archive + QStringLiteral(".qvzip")), c.entries);
        EXPECT_EQ(unzipComment(folder + QStringLiteral("/revert/") + MyDocument::snapshotName(clock) + QStringLiteral(".qvzip")),
            QStringLiteral("Theme Exported"));
    }

    // Cancelled, there is nothing to choose nor save.
    modal.state->panels.clear();
    modal.state->sheetAnswer = models.checkingSheets([](QDialog* shown) { return pressKey(shown, Qt::Key_Escape); });
    window->menuClicked(MenuTag::ExportTheme);
    EXPECT_TRUE(modal.state->panels.isEmpty());
}

TEST_F(TemplateDialogsTest, WithoutASourceThePartsListHoldsOnlyPageSettingsAndNothingIsCopied)
{
    XmlStyleSheet* target = sheetNamed(QStringLiteral("Text Page"));
    ASSERT_NE(target, nullptr);
    const QString before = target->createXml();
    QStringList listed;
    copy(nullptr, {QStringLiteral("Page Settings")}, {QStringLiteral("Text Page")}, &listed);
    EXPECT_EQ(listed, QStringList{QStringLiteral("Page Settings")});
    EXPECT_EQ(target->createXml(), before);
}

TEST_F(TemplateDialogsTest, WithEveryTemplateInUseNothingIsOfferedForDeletion)
{
    // The templates no page uses taken out of the theme: the rest are all in use.
    QSet<int> used;
    for (const XmlBasePtr& item : document.webItems()) {
        if (const auto* page = dynamic_cast<const XmlAlbum*>(item.get()))
            used.insert(page->templateNum());
    }
    ASSERT_FALSE(used.isEmpty());
    for (const auto& sheet : document.theme()->childrenOfType<XmlStyleSheet>()) {
        if (!used.contains(sheet->templateSeqNum()))
            document.theme()->removeChild(sheet.get());
    }
    ASSERT_FALSE(templateNames().isEmpty());
    QStringList listed = {QStringLiteral("not asked")};
    modal.state->sheetAnswer = models.checkingSheets([&](QDialog* shown) {
        listed = entryNames(dynamic_cast<DeleteTemplates*>(shown)->deleteList());
        return pressButton(shown, QStringLiteral("Delete"));
    });
    const QStringList own = templateNames();
    DeleteTemplates(window.get(), document).deleteTemplates();
    EXPECT_TRUE(listed.isEmpty()) << listed.join(QLatin1Char(',')).toStdString();
    EXPECT_EQ(templateNames(), own);
}

TEST_F(TemplateDialogsTest, LeavingTheIncludeFilesSheetKeepsItsTicks)
{
    writeAll(folder + QStringLiteral("/files/a.txt"), "a");
    writeAll(folder + QStringLiteral("/files/b.txt"), "b");
    document.site()->refreshFiles();
    XmlFiles* files = document.site()->files();
    const auto ticked = [&] {
        QStringList names;
        files->callSelectorOnObject([&](XmlBase& element) {
            if (XmlFile::cast(&element) && element.check() != 0)
                names.append(element.name());
        });
        return names;
    };
    struct Case {
        const char* what;
        std::function<int(QDialog*)> leave;
    };
    const Case cases[] = {
        {"Cancel", [](QDialog* sheet) { return pressButton(sheet, QStringLiteral("Cancel")); }},
        {"Escape", [](QDialog* sheet) { return pressKey(sheet, Qt::Key_Escape); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        modal.state->panels.clear();
        modal.state->sheetAnswer = models.checkingSheets([&](QDialog* shown) {
            files->callSelectorOnObject([&](XmlBase& element) {
                if (element.name() == QStringLiteral("b.txt"))
                    element.setCheck(true);
            });
            return c.leave(shown);
        });
        window->menuClicked(MenuTag::ExportTheme);
        EXPECT_TRUE(modal.state->panels.isEmpty());
        EXPECT_EQ(ticked(), QStringList{QStringLiteral("b.txt")});
    }
}

} // namespace
