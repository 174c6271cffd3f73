// The inspector follows the selection: the sheet of the selected element
// comes to the front and every control of it shows the element's values.
// Filling only shows: no control sends its action while it is filled.
#include "layout/LayoutController.h"

#include "editors/photo/ImageWell.h"
#include "elements/XmlSlideshow.h"
#include "elements/XmlVornBox.h"
#include "elements/XmlWebBox.h"
#include "elements/XmlWebFooter.h"
#include "elements/XmlWebMenu.h"
#include "elements/XmlWebPhotoAlbum.h"
#include "layout/InspectorTags.h"
#include "layout/QZLayoutView.h"
#include "model/site/XmlAlbum.h"
#include "platform/ExceptionFrame.h"
#include "platform/widgets/ControlTags.h"
#include "platform/widgets/ControlValues.h"
#include "platform/widgets/MyColorWell.h"
#include "platform/widgets/MyTabView.h"
#include "platform/widgets/MyTableView.h"
#include "platform/widgets/MyTextView.h"
#include "templates/XmlCSSImage.h"
#include "templates/XmlStyleSheet.h"
#include "templates/XmlWebFont.h"

#include <QItemSelectionModel>
#include <QSignalBlocker>

namespace {

// The colour wells of the inspector that the shared colour panel may be
// feeding; a new selection lets go of them all.
constexpr int colorWells[] = {
    111,                                                                              // page
    213, 813,                                                                         // masthead, page title
    314, 316, 318, 320, 322, 324, 326, 328,                                           // navigation
    509,                                                                              // photo album
    603, 608, 613, 618, 623, 624,                                                     // border panel
    713, 721, 722, 723,                                                               // footer
    413, 417, 418, 419, 423, 427, 428, 429, 433, 437, 438, 439, 443, 447, 448, 449, // content
    952, 964, 965, 966, 971, 972, 973, 982,                                           // slideshow
};

// A text view shows the text without reporting an edit.
void showPlainText(MyTextView* view, const QString& text)
{
    const QSignalBlocker quiet(view);
    view->setPlainText(text);
}

QString contentOf(XmlBase* stored)
{
    return stored ? stored->content() : QString();
}

} // namespace

QWidget* LayoutController::controlWithTag(int tag) const
{
    static const std::map<int, const char*> sheets = {{1, "page"}, {2, "masthead"}, {3, "navigation"}, {4, "content"},
        {5, "photoalbum"}, {7, "footer"}, {8, "pagetitle"}, {9, "slideshow"}, {11, "vornbox"}, {12, "paypal"}};
    const int hundreds = tag / 100;
    QWidget* view = nullptr;
    if (hundreds == 6)
        view = _bbView;
    else if (hundreds == 19)
        view = _bordersTabView;
    else if (const auto found = sheets.find(hundreds); found != sheets.end())
        view = sheetView(QLatin1String(found->second));
    return lq::viewWithTag(view, tag);
}

// --- Following the selection ----------------------------------------------------------------------

void LayoutController::setSelectedObject(XmlBoxModel* element)
{
    lq::uiFrame(this, "setSelectedObject:", [&] {
        const std::shared_ptr<XmlAlbum> page = getAlbum();
        const std::shared_ptr<XmlStyleSheet> sheet = getTemplate();
        if (!page || !sheet)
            return;
        // A dragged element comes into line with the others, never with itself.
        _layoutView->setObjectRectsIgnoringRect(sheet->guideRectArray(), element ? element->guideRect() : lq::Rect());

        const XmlBasePtr previous = XmlBase::UUID(_currentSelectedObject);
        const bool changed = XmlBoxModel::cast(previous.get()) != element;
        if (changed)
            deactivateColorWells();
        if (auto* box = XmlVornBox::cast(element)) {
            sheet->setCurrentWidget(box->UUID());
            const QList<std::shared_ptr<XmlVornBox>> boxes = sheet->getVornBoxes();
            for (int row = 0; row < boxes.size(); ++row) {
                if (boxes[row].get() == box)
                    _vornBoxList->selectRow(row);
            }
        }
        _currentSelectedObject = element ? element->UUID() : QString();
        if (changed)
            sheet->relayoutFlags(page.get(), 0);
        selectElementListRow(element);
        _pageImageWell->setXmlImage(sheet->image());

        if (!element) {
            if (changed)
                _tabview->selectTabViewItemWithIdentifier(QStringLiteral("page"));
            fillPageSheet(*sheet);
            return;
        }
        const QString identifier = sheetOf(element);
        if (identifier.isEmpty())
            return;
        if (changed)
            _tabview->selectTabViewItemWithIdentifier(identifier);
        showGeometryOf(element);
        setBandB(element);
        fillSheet(element, *sheet);
    });
}

QString LayoutController::sheetOf(XmlBoxModel* element)
{
    // The footer is a kind of content box: it is asked first.
    if (XmlWebMenu::cast(element))
        return QStringLiteral("navigation");
    if (XmlWebBox::cast(element))
        return element->name() == u"Masthead" ? QStringLiteral("masthead") : QStringLiteral("pagetitle");
    if (XmlWebFooter::cast(element))
        return QStringLiteral("footer");
    if (XmlVornBox::cast(element))
        return QStringLiteral("vornbox");
    if (XmlWebContent::cast(element))
        return QStringLiteral("content");
    if (XmlWebPhotoAlbum::cast(element))
        return QStringLiteral("photoalbum");
    if (XmlSlideshow::cast(element))
        return QStringLiteral("slideshow");
    return QString();
}

void LayoutController::fillSheet(XmlBoxModel* element, XmlStyleSheet& sheet)
{
    if (auto* menu = XmlWebMenu::cast(element))
        fillNavigationSheet(*menu);
    else if (auto* box = XmlWebBox::cast(element))
        fillBoxSheet(*box);
    else if (auto* footer = XmlWebFooter::cast(element))
        fillFooterSheet(*footer);
    else if (auto* vornBox = XmlVornBox::cast(element))
        fillVornBoxSheet(*vornBox);
    else if (auto* content = XmlWebContent::cast(element))
        fillContentSheet(*content, sheet);
    else if (auto* album = XmlWebPhotoAlbum::cast(element))
        fillPhotoAlbumSheet(*album);
    else if (auto* slideshow = XmlSlideshow::cast(element))
        fillSlideshowSheet(*slideshow);
}

void LayoutController::deactivateColorWells()
{
    for (int tag : colorWells) {
        if (auto* well = qobject_cast<MyColorWell*>(controlWithTag(tag)))
            well->setActive(false);
    }
}

void LayoutController::selectElementListRow(XmlBoxModel* element)
{
    const int row = element ? getIndexForElement(element) : -1;
    if (row < 0)
        _editElementList->clearSelection();
    else
        _editElementList->selectRow(row);
}

// --- The sheets -----------------------------------------------------------------------------------------

void LayoutController::showFont(QWidget* view, const XmlWebFont* font, const InspectorFontTags& tags)
{
    if (!font)
        return;
    if (tags.font)
        lq::showIndex(view, tags.font, font->font());
    if (tags.size)
        lq::showNumberPair(view, tags.size, font->fontSize());
    if (tags.color)
        lq::showColor(view, tags.color, font->fontColor().toQColor());
    if (tags.underline)
        lq::showState(view, tags.underline, font->underline());
    if (tags.italic)
        lq::showState(view, tags.italic, font->italic());
    if (tags.bold)
        lq::showState(view, tags.bold, font->bold());
    if (tags.alignment)
        lq::showAlignment(view, tags.alignment, int(font->alignment()));
    if (tags.lineSpacing)
        lq::showNumberPair(view, tags.lineSpacing, font->lineSpacing());
    if (tags.underlineLinks)
        lq::showState(view, tags.underlineLinks, font->underlineLinks());
    if (tags.links) {
        lq::showColor(view, tags.links, font->linkNormal().toQColor());
        lq::showColor(view, tags.links + 1, font->linkHover().toQColor());
        lq::showColor(view, tags.links + 2, font->linkClicked().toQColor());
    }
}

void LayoutController::showSliceControls(XmlStyleSheet& sheet)
{
    QWidget* view = sheetView(QStringLiteral("page"));
    const bool sliced = sheet.bkgnd() == 6;
    lq::showControls(view, InspectorTag::sliceControls, sliced);
    if (!sliced)
        return;
    lq::showNumberPair(view, InspectorTag::topSlice, sheet.topSlice());
    lq::showNumberPair(view, InspectorTag::bottomSlice, sheet.bottomSlice());
}

void LayoutController::fillPageSheet(XmlStyleSheet& sheet)
{
    QWidget* view = sheetView(QStringLiteral("page"));
    lq::showIndex(view, 110, sheet.bkgnd());
    lq::showColor(view, 111, sheet.bkgndColor().toQColor());
    showSliceControls(sheet);
    lq::showState(view, 170, sheet.centerHorz());
    lq::showState(view, 171, sheet.centerVert());
    lq::showState(view, 172, sheet.browserFlow());
}

void LayoutController::showItemWidthControls(XmlWebMenu& menu)
{
    const int orientation = menu.orientation();
    if (orientation == 0 || orientation == 1 || orientation == 2)
        lq::showControls(sheetView(QStringLiteral("navigation")), InspectorTag::itemWidthControls, orientation == 2);
}

void LayoutController::fillNavigationSheet(XmlWebMenu& menu)
{
    QWidget* view = sheetView(QStringLiteral("navigation"));
    lq::showCell(view, 350, menu.useGraphicRollover() ? 1 : 0);
    _menuBkgndTabView->selectTabViewItemWithIdentifier(
        menu.useGraphicRollover() ? QStringLiteral("imagerollovers") : QStringLiteral("colorwells"));
    showFont(view, menu.font().get(), {.font = 306, .size = 307, .italic = 309, .bold = 310, .alignment = 311});

    // The four states of an item: current, normal, hover, click.
    struct State {
        lq::Colour background;
        bool backgroundShown;
        lq::Colour text;
        bool underline;
        XmlCSSBackground* picture;
    };
    const State states[] = {
        {menu.currentBkgnd(), menu.currentBkgndEn(), menu.currentText(), menu.currentUnderline() != 0, menu.currentBkgnd2().get()},
        {menu.normalBkgnd(), menu.normalBkgndEn(), menu.normalText(), menu.normalUnderline() != 0, menu.normalBkgnd2().get()},
        {menu.hoverBkgnd(), menu.hoverBkgndEn(), menu.hoverText(), menu.hoverUnderline() != 0, menu.hoverBkgnd2().get()},
        {menu.clickBkgnd(), menu.clickBkgndEn(), menu.clickText(), menu.clickUnderline() != 0, menu.clickBkgnd2().get()},
    };
    for (int state = 0; state < 4; ++state) {
        const int base = 314 + state * 4;
        lq::showColor(view, base, states[state].background.toQColor());
        lq::showState(view, base + 1, states[state].backgroundShown);
        lq::showColor(view, base + 2, states[state].text.toQColor());
        lq::showState(view, base + 3, states[state].underline);
    }
    lq::showNumberPair(view, 330, menu.mispace());
    lq::showIndex(view, 334, menu.orientation());
    lq::showNumberPair(view, 332, menu.miWidth());
    showItemWidthControls(menu);
    lq::showNumberPair(view, 336, menu.subFontSize());
    lq::showCell(view, 340, 341 + menu.navTypeForGroup());
    lq::showNumberPair(view, 351, menu.indentSubmenu());
    for (int state = 0; state < 4; ++state) {
        XmlCSSBackground* picture = states[state].picture;
        _rolloverWells[state]->setXmlImage(picture ? picture->image() : nullptr);
    }
}

void LayoutController::fillBoxSheet(XmlWebBox& box)
{
    const bool masthead = box.name() == u"Masthead";
    const int base = masthead ? 200 : 800;
    QWidget* view = sheetView(masthead ? QStringLiteral("masthead") : QStringLiteral("pagetitle"));
    showFont(view, box.font().get(), {.font = base + 10, .size = base + 11, .color = base + 13, .underline = base + 14,
                                        .italic = base + 15, .bold = base + 16, .alignment = base + 17});
}

void LayoutController::fillFooterSheet(XmlWebFooter& footer)
{
    QWidget* view = sheetView(QStringLiteral("footer"));
    showFont(view, footer.font().get(), {.font = 710, .size = 711, .color = 713, .italic = 715, .underlineLinks = 720, .links = 721});
    lq::showState(view, 724, footer.createdWith());
    lq::showState(view, 725, footer.viewCounter());
    lq::showIndex(view, 727, footer.trog() ? 1 : 0);
    lq::showState(view, 728, footer.useHtmlSnippet());
    showPlainText(_footerSnippetEditor, contentOf(footer.htmlSnippet()));
}

void LayoutController::fillVornBoxSheet(XmlVornBox& box)
{
    lq::showIndex(sheetView(QStringLiteral("vornbox")), InspectorTag::vornBoxKind, box.type());
    correctVornBoxUI(&box);
}

void LayoutController::fillContentSheet(XmlWebContent& content, XmlStyleSheet& sheet)
{
    QWidget* view = sheetView(QStringLiteral("content"));
    lq::showState(view, 409, content.extendPage());
    const std::shared_ptr<XmlWebFont> fonts[] = {content.font(), content.heading(), content.subheading(), content.caption()};
    for (int group = 0; group < 4; ++group) {
        const int base = 410 + group * 10;
        showFont(view, fonts[group].get(), {.font = base, .size = base + 1, .color = base + 3, .lineSpacing = base + 4,
                                               .underlineLinks = base + 6, .links = base + 7});
    }
    lq::showNumberPair(view, 490, sheet.verticalSpace());
    lq::showNumberPair(view, 492, sheet.horizontalSpace());
}
