// The layout controller over the starter site: the sheets a template gets,
// moving between pages, the template selector and the element list.
#include "elements/XmlSlideshow.h"
#include "elements/XmlVornBox.h"
#include "elements/XmlWebPhotoAlbum.h"
#include "model/site/XmlPhoto.h"
#include "model/imaging/XmlImage.h"
#include "templates/XmlCSSImage.h"
#include "ui/widgets/ControlTags.h"
#include "ui/widgets/ItemModelAdaptor.h"
#include "ui/widgets/MyOutlineView.h"
#include "ui/widgets/MyPopUpButton.h"
#include "support/TestFiles.h"
#include "support/EventLoop.h"
#include "support/TestPictures.h"
#include "support/ui/LayoutWindow.h"
#include "support/ui/SheetButtons.h"
#include "ui/app/CopyElements.h"
#include "ui/app/DeleteTemplates.h"
#include "ui/editors/XmlOutlineView.h"
#include "model/core/XmlEnvelop.h"

#include <QAbstractButton>
#include <QItemSelectionModel>
#include <QLabel>

#include <gtest/gtest.h>

namespace {

// The identifiers of the inspector's tabs, in order.
QStringList sheetTabs(MyTabView& tabs)
{
    static const QStringList all = {"page", "masthead", "footer", "pagetitle", "navigation", "content",
                                    "photoalbum", "slideshow", "borders", "vornbox", "paypal"};
    QStringList shown(tabs.count());
    for (const QString& identifier : all) {
        const int index = tabs.indexOfTabViewItemWithIdentifier(identifier);
        if (index >= 0)
            shown[index] = identifier;
    }
    return shown;
}

class LayoutControllerTest : public LayoutWindowTest {
protected:
    void show(const std::shared_ptr<XmlAlbum>& shown, int index = -1) { layout->setPreviewPageIndex(shown->UUID(), index); }

    void setVisible(XmlStyleSheet& sheet, const char* element, bool visible)
    {
        XmlCSS* found = XmlCSS::cast(sheet.getElementWithName(QLatin1String(element)).get());
        ASSERT_NE(found, nullptr) << element;
        found->setVisible(visible);
    }

    QString selectedTemplateName()
    {
        MyOutlineView* list = layout->templateList();
        const QModelIndex current = list->selectionModel()->currentIndex();
        const auto* chosen = static_cast<XmlBase*>(list->adaptor()->itemForIndex(current));
        return chosen ? chosen->name() : QString();
    }
};

TEST_F(LayoutControllerTest, TheSheetsFollowTheElementsTheTemplateShows)
{
    const auto about = page(QStringLiteral("About"));
    XmlStyleSheet* sheet = about->getTemplate().get();
    ASSERT_NE(sheet, nullptr);
    for (const char* shown : {"Content", "Masthead", "Footer"})
        setVisible(*sheet, shown, true);
    for (const char* hidden : {"Page Title", "Navigation", "Photo Album", "Slideshow"}) {
        if (sheet->getElementWithName(QLatin1String(hidden)))
            setVisible(*sheet, hidden, false);
    }
    show(about);
    EXPECT_EQ(sheetTabs(*layout->tabview()), (QStringList {"page", "vornbox", "content", "masthead", "footer"}));
    EXPECT_TRUE(layout->taken().contains(QStringLiteral("albumOptionsSet")));

    // A photo album showing photos brings its sheet and the PayPal sheet;
    // the border panel is never a sheet of its own.
    const auto photos = page(QStringLiteral("Photos"));
    ASSERT_NE(addPhoto(*photos, QStringLiteral("sea.jpg"), Qt::darkCyan), nullptr);
    XmlStyleSheet* albumSheet = photos->getTemplate().get();
    setVisible(*albumSheet, "Photo Album", true);
    setVisible(*albumSheet, "Slideshow", false);
    // A click on a photo opens the picture: no slideshow plays.
    XmlWebPhotoAlbum::cast(albumSheet->getElementWithName(QStringLiteral("Photo Album")).get())->settings().setClickOp(XmlWebPhotoAlbum::ClickOperation::NewWindow);
    show(photos);
    const QStringList tabs = sheetTabs(*layout->tabview());
    EXPECT_TRUE(tabs.contains(QStringLiteral("photoalbum")));
    EXPECT_TRUE(tabs.contains(QStringLiteral("paypal")));
    EXPECT_FALSE(tabs.contains(QStringLiteral("slideshow")));
    EXPECT_FALSE(tabs.contains(QStringLiteral("borders")));
    EXPECT_EQ(layout->elementTables().visibleElements(), albumSheet->visibleElements());
}

TEST_F(LayoutControllerTest, ChoosingASheetSelectsItsElementOnTheCanvas)
{
    showTab(QStringLiteral("layout"));
    const auto about = page(QStringLiteral("About"));
    show(about);
    ASSERT_FALSE(document.testMode());
    layout->taken();

    layout->tabview()->selectTabViewItemWithIdentifier(QStringLiteral("content"));
    EXPECT_EQ(layout->taken(), QStringList {QStringLiteral("setSelectedObject: Content")});
    EXPECT_EQ(canvas().currentSelectedObject()->name(), QStringLiteral("Content"));
    QWidget* sheet = layout->sheetView(QStringLiteral("content"));
    EXPECT_TRUE(qobject_cast<QAbstractButton*>(lq::viewWithTag(sheet, 499))->isChecked());
    EXPECT_FALSE(qobject_cast<QAbstractButton*>(lq::viewWithTag(sheet, 498))->isChecked());
    EXPECT_TRUE(layout->borderPanel().backgroundBox()->isHidden());

    // The page sheet selects nothing; saving the editor drops the selection.
    layout->tabview()->selectTabViewItemWithIdentifier(QStringLiteral("masthead"));
    layout->tabview()->selectTabViewItemWithIdentifier(QStringLiteral("page"));
    EXPECT_EQ(layout->taken(), (QStringList {QStringLiteral("setSelectedObject: Masthead"), QStringLiteral("setSelectedObject: nil")}));
    EXPECT_EQ(canvas().currentSelectedObject(), nullptr);
    layout->tabview()->selectTabViewItemWithIdentifier(QStringLiteral("footer"));
    window->saveEditor();
    EXPECT_EQ(canvas().currentSelectedObject(), nullptr);

    // In border mode the sheet lends its place to the border panel, and gets it back.
    layout->setBorderMode(true);
    layout->tabview()->selectTabViewItemWithIdentifier(QStringLiteral("navigation"));
    EXPECT_EQ(layout->tabview()->tabViewItemWithIdentifier(QStringLiteral("navigation"))->view(), layout->bordersTabView());
    layout->setBorderMode(false);
    layout->tabview()->selectTabViewItemWithIdentifier(QStringLiteral("content"));
    EXPECT_EQ(layout->tabview()->tabViewItemWithIdentifier(QStringLiteral("navigation"))->view(), layout->sheetView(QStringLiteral("navigation")));
}

TEST_F(LayoutControllerTest, TheVornBoxSheetSelectsTheTemplatesBox)
{
    showTab(QStringLiteral("layout"));
    const auto about = page(QStringLiteral("About"));
    XmlStyleSheet* sheet = about->getTemplate().get();
    show(about);
    QWidget* kind = lq::viewWithTag(layout->sheetView(QStringLiteral("vornbox")), 1109);
    layout->tabview()->selectTabViewItemWithIdentifier(QStringLiteral("vornbox"));
    EXPECT_TRUE(kind->isHidden());
    EXPECT_EQ(canvas().currentSelectedObject(), nullptr);

    const auto first = sheet->addVornBox();
    const auto second = sheet->addVornBox();
    // The sheet fits itself to the box when the selection fills it and again
    // when the sheet comes to the front.
    const QStringList calls = {QStringLiteral("setSelectedObject: Vorn Box"), QStringLiteral("correctVornBoxUI: Vorn Box"),
                               QStringLiteral("correctVornBoxUI: Vorn Box")};
    layout->tabview()->selectTabViewItemWithIdentifier(QStringLiteral("page"));
    layout->taken();
    layout->tabview()->selectTabViewItemWithIdentifier(QStringLiteral("vornbox"));
    EXPECT_FALSE(kind->isHidden());
    EXPECT_EQ(layout->taken(), calls);
    EXPECT_EQ(canvas().currentSelectedObject(), first);

    // The template's current widget wins over the first box.
    sheet->setCurrentWidget(second->UUID());
    layout->tabview()->selectTabViewItemWithIdentifier(QStringLiteral("page"));
    layout->taken();
    layout->tabview()->selectTabViewItemWithIdentifier(QStringLiteral("vornbox"));
    EXPECT_EQ(layout->taken(), calls);
    EXPECT_EQ(canvas().currentSelectedObject(), second);
}

TEST_F(LayoutControllerTest, PagesWrapAroundAndAPicturePreviewReturnsToItsPage)
{
    const auto home = page(QStringLiteral("Home"));
    const auto about = page(QStringLiteral("About"));
    show(about);
    EXPECT_EQ(layout->pageNavigation().webPage()->currentText(), QStringLiteral("About"));
    EXPECT_EQ(layout->pageNavigation().webPage2()->count(), 3);

    layout->pageNavigation().nextPage();
    EXPECT_EQ(layout->getAlbum(), home);
    EXPECT_EQ(window->currentObject(), home);
    EXPECT_EQ(layout->pageNavigation().webPage2()->currentText(), QStringLiteral("Home"));
    layout->pageNavigation().prevPage();
    EXPECT_EQ(layout->getAlbum(), about);

    // During a picture preview the previous page is the same page.
    show(about, 2);
    EXPECT_EQ(layout->globalIndex(), 2);
    EXPECT_EQ(document.globalIndex(), 2);
    layout->pageNavigation().prevPage();
    EXPECT_EQ(layout->getAlbum(), about);
    EXPECT_EQ(layout->globalIndex(), -1);

    layout->pageNavigation().webPage()->setCurrentIndex(1);
    layout->pageNavigation().selectPage(layout->pageNavigation().webPage());
    EXPECT_EQ(layout->getAlbum(), page(QStringLiteral("Photos")));
    layout->pageNavigation().homePage();
    EXPECT_EQ(layout->getAlbum(), home);
    EXPECT_EQ(layout->pageNavigation().statusLine()->text(), QStringLiteral("Control + Click to Edit Photos"));
}

TEST_F(LayoutControllerTest, ThePayPalSheetsInnerTabShowsTheTemplatesSlideshowViewOrItsPageView)
{
    const auto photos = page(QStringLiteral("Photos"));
    ASSERT_NE(addPhoto(*photos, QStringLiteral("sea.jpg"), Qt::darkCyan), nullptr);
    XmlStyleSheet* sheet = photos->getTemplate().get();
    setVisible(*sheet, "Photo Album", true);
    setVisible(*sheet, "Slideshow", true);
    XmlWebPhotoAlbum::cast(sheet->getElementWithName(QStringLiteral("Photo Album")).get())
        ->settings().setClickOp(XmlWebPhotoAlbum::ClickOperation::SlideshowPage);
    showTab(QStringLiteral("layout"));
    show(photos);
    ASSERT_FALSE(document.testMode());
    ASSERT_EQ(sheet->view(), XmlStyleSheet::View::Page);
    ASSERT_GE(layout->tabview()->indexOfTabViewItemWithIdentifier(QStringLiteral("paypal")), 0);
    layout->tabview()->selectTabViewItemWithIdentifier(QStringLiteral("paypal"));

    // Back and forth: the slideshow's captions show on the slideshow view.
    for (const char* inner : {"slideshow", "thumbnail", "slideshow", "thumbnail"}) {
        layout->payPalSheet().payPalTabView()->selectTabViewItemWithIdentifier(QLatin1String(inner));
        const bool slideshow = QLatin1String(inner) == QLatin1String("slideshow");
        EXPECT_EQ(sheet->view(), slideshow ? XmlStyleSheet::View::Slideshow : XmlStyleSheet::View::Page) << inner;
    }
    // Coming to the sheet with its slideshow item in front shows the slideshow view too.
    layout->payPalSheet().payPalTabView()->selectTabViewItemWithIdentifier(QStringLiteral("slideshow"));
    layout->tabview()->selectTabViewItemWithIdentifier(QStringLiteral("page"));
    EXPECT_EQ(sheet->view(), XmlStyleSheet::View::Page);
    layout->tabview()->selectTabViewItemWithIdentifier(QStringLiteral("paypal"));
    EXPECT_EQ(sheet->view(), XmlStyleSheet::View::Slideshow);
}

TEST_F(LayoutControllerTest, APageThatSharesTheTemplateKeepsItsPictureAndItsRunningSlideshow)
{
    const auto photos = page(QStringLiteral("Photos"));
    for (const auto& [name, colour] : {std::pair {"sea.jpg", QColor(Qt::darkCyan)}, std::pair {"sky.jpg", QColor(Qt::darkBlue)}})
        ASSERT_NE(addPhoto(*photos, QLatin1String(name), colour), nullptr);
    const std::shared_ptr<XmlStyleSheet> shared = photos->getTemplate();
    // The album's thumbnails play in the page's slideshow.
    setVisible(*shared, "Photo Album", true);
    setVisible(*shared, "Slideshow", true);
    XmlWebPhotoAlbum::cast(shared->getElementWithName(QStringLiteral("Photo Album")).get())
        ->settings().setClickOp(XmlWebPhotoAlbum::ClickOperation::SlideshowElement);
    auto* slideshow = XmlSlideshow::cast(shared->getElementWithName(QStringLiteral("Slideshow")).get());
    ASSERT_NE(slideshow, nullptr);
    slideshow->settings().setAutoStart(true);
    // The template's own picture, from a real PNG file.
    const QString picture = work.filePath(QStringLiteral("paper.png"));
    writeAll(picture, encoded(solid(64, 48, Qt::yellow), "PNG"));
    ASSERT_TRUE(shared->image()->setNewImageFromFile(picture));
    // A second page with the same template, and its own photo.
    auto trips = XmlAlbum::create();
    trips->setName(QStringLiteral("Trips"));
    home().addChild(trips);
    trips->setTemplate(shared.get());
    ASSERT_NE(addPhoto(*trips, QStringLiteral("hill.jpg"), Qt::darkGreen), nullptr);
    const auto about = page(QStringLiteral("About"));
    ASSERT_NE(about->getTemplate(), shared);

    show(photos);
    showTab(QStringLiteral("preview"));
    ASSERT_TRUE(document.testMode());
    const int held = shared->image()->backstore();
    ASSERT_GT(held, 0);
    // The slideshow plays: its wait for the next slide has begun.
    ASSERT_TRUE(processEventsUntil([&] { return slideshow->waitTime() > 0; }));

    show(trips);
    EXPECT_EQ(layout->getAlbum(), trips);
    EXPECT_EQ(shared->image()->backstore(), held);
    EXPECT_TRUE(slideshow->playingSlides());
    EXPECT_GT(slideshow->waitTime(), 0);
    EXPECT_FALSE(shared->image()->image()->image().isNull());

    // A page of another template lets them go.
    show(about);
    EXPECT_EQ(shared->image()->backstore(), held - 1);
    EXPECT_FALSE(slideshow->playingSlides());
    EXPECT_EQ(slideshow->waitTime(), 0);
}

TEST_F(LayoutControllerTest, WhatNamesNoPageChangesNothing)
{
    const auto about = page(QStringLiteral("About"));
    show(about);
    const auto shownTemplate = layout->getTemplate();
    auto stray = XmlAlbum::create();
    const QString gone = stray->UUID();
    stray.reset();
    for (const QString& uuid : {gone, document.theme()->UUID(), QString()}) {
        layout->setPreviewPageIndex(uuid, 3);
        EXPECT_EQ(layout->getAlbum(), about);
        EXPECT_EQ(layout->getTemplate(), shownTemplate);
        EXPECT_EQ(layout->globalIndex(), -1);
    }
    // A template that does not resolve leaves the page its own.
    layout->setPageWithTemplate(about->UUID(), gone);
    EXPECT_EQ(about->getTemplate(), shownTemplate);
}

TEST_F(LayoutControllerTest, AnExternalLinkPageLeavesTheSheetsAsTheyWere)
{
    const auto about = page(QStringLiteral("About"));
    show(about);
    const QStringList before = sheetTabs(*layout->tabview());
    const auto photos = page(QStringLiteral("Photos"));
    photos->setExternalLink(QStringLiteral("http://example.org/"));
    photos->setIsExternalLink(true);
    show(photos);
    EXPECT_EQ(layout->getTemplate(), nullptr);
    EXPECT_EQ(sheetTabs(*layout->tabview()), before);
    EXPECT_EQ(layout->elementTables().numberElements(), 0);
    EXPECT_TRUE(layout->elementTables().visibleElements().isEmpty());
    EXPECT_EQ(canvas().trackingData().numberTracking(), 0);
}

TEST_F(LayoutControllerTest, AddTemplateCopiesTheTemplateUnderThePagesName)
{
    const auto photos = page(QStringLiteral("Photos"));
    show(photos);
    const std::shared_ptr<XmlStyleSheet> original = layout->getTemplate();
    const int templates = document.theme()->numberChildren();
    document.clearChangeCount();

    layout->templateSelector().addTemplate();
    ASSERT_EQ(document.theme()->numberChildren(), templates + 1);
    const auto copy = std::dynamic_pointer_cast<XmlStyleSheet>(document.theme()->childAtIndex(templates));
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->name(), QStringLiteral("Photos"));
    EXPECT_NE(copy, original);
    EXPECT_NE(copy->templateSeqNum(), original->templateSeqNum());
    EXPECT_EQ(copy->numberChildren(), original->numberChildren());
    // The copy is the page's template at once, and the one shown and listed.
    EXPECT_EQ(photos->getTemplate(), copy);
    EXPECT_EQ(photos->templateNum(), copy->templateSeqNum());
    EXPECT_EQ(layout->getTemplate(), copy);
    EXPECT_EQ(selectedTemplateName(), QStringLiteral("Photos"));
    EXPECT_EQ(layout->templateList()->adaptor()->rowCount(), templates + 1);
    EXPECT_TRUE(document.isDocumentEdited());

    // Choosing a template in the list gives it to the page.
    const auto textPage = templateNamed(QStringLiteral("Text Page"));
    const QModelIndex row = layout->templateList()->adaptor()->indexForItem(textPage);
    layout->templateList()->selectionModel()->setCurrentIndex(row, QItemSelectionModel::ClearAndSelect);
    EXPECT_EQ(photos->getTemplate().get(), textPage);
    EXPECT_EQ(layout->getTemplate().get(), textPage);
    EXPECT_FALSE(layout->templateSelector().outlineViewIsItemExpandable(textPage));
    EXPECT_TRUE(layout->templateSelector().outlineViewIsItemExpandable(document.theme()));
}

TEST_F(LayoutControllerTest, TheElementListCountsTheEnabledElements)
{
    const auto about = page(QStringLiteral("About"));
    show(about);
    const std::shared_ptr<XmlStyleSheet> sheet = layout->getTemplate();
    QList<XmlCSS*> enabled;
    for (const auto& element : sheet->childrenOfType<XmlCSS>()) {
        if (element->enabled())
            enabled.append(element.get());
    }
    ASSERT_GE(enabled.size(), 3);
    for (int index = 0; index < enabled.size(); ++index) {
        EXPECT_EQ(layout->elementTables().getElementAtIndex(index).get(), enabled[index]) << index;
        EXPECT_EQ(layout->elementTables().getIndexForElement(enabled[index]), index);
    }
    EXPECT_EQ(layout->elementTables().getElementAtIndex(int(enabled.size())), nullptr);
    EXPECT_EQ(layout->elementTables().getIndexForElement(document.theme()), -1);
    EXPECT_TRUE(layout->elementTables().getVisibilityOfElementAtIndex(int(enabled.size())));

    const int masthead = layout->elementTables().getIndexForElement(sheet->getElementWithName(QStringLiteral("Masthead")).get());
    ASSERT_GE(masthead, 0);
    layout->elementTables().setVisibilityOfElementAtIndexVisible(masthead, false);
    EXPECT_FALSE(layout->elementTables().getVisibilityOfElementAtIndex(masthead));
    EXPECT_FALSE(sheetTabs(*layout->tabview()).contains(QStringLiteral("masthead")));
    layout->elementTables().setVisibilityOfElementAtIndexVisible(masthead, true);
    EXPECT_TRUE(sheetTabs(*layout->tabview()).contains(QStringLiteral("masthead")));
}

TEST_F(LayoutControllerTest, TheTemplateButtonsOpenTheDeleteAndCopySheetsForTheListedTemplate)
{
    const auto photos = page(QStringLiteral("Photos"));
    show(photos);
    const std::shared_ptr<XmlStyleSheet> shown = layout->getTemplate();
    QString source;
    QString offered;
    modal.state->sheetAnswer = [&](QDialog* sheet) {
        if (auto* copying = dynamic_cast<CopyElements*>(sheet)) {
            // "Page Settings" stands for the chosen template itself.
            const XmlBasePtr settings = copying->elementList()->rootElement()->firstChild();
            source = settings ? XmlEnvelop::cast(settings.get())->xmlUUID() : QString();
        } else if (auto* deleting = dynamic_cast<DeleteTemplates*>(sheet)) {
            offered = QString::number(deleting->deleteList()->rootElement()->numberChildren());
        }
        return pressKey(sheet, Qt::Key_Escape);
    };
    QWidget* page = layout->layoutPage();
    ASSERT_NE(buttonTitled(page, QStringLiteral("Copy…")), nullptr);
    buttonTitled(page, QStringLiteral("Copy…"))->click();
    EXPECT_EQ(source, shown->UUID());
    // Every template of the starter site is in use.
    buttonTitled(page, QStringLiteral("Delete…"))->click();
    EXPECT_EQ(offered, QStringLiteral("0"));
}

} // namespace
