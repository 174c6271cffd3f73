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
#include "layout/BorderPanel.h"
#include "layout/CanvasController.h"
#include "layout/BoxSheet.h"
#include "layout/ContentSheet.h"
#include "layout/FooterSheet.h"
#include "layout/ElementTables.h"
#include "layout/InspectorTags.h"
#include "layout/NavigationSheet.h"
#include "layout/PageSheet.h"
#include "layout/PayPalSheet.h"
#include "layout/PhotoAlbumSheet.h"
#include "layout/QZLayoutView.h"
#include "layout/SlideshowSheet.h"
#include "layout/VornBoxSheet.h"
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


// The sheet that shows the element, "" for an element no sheet shows.
QString sheetOf(XmlBoxModel* element)
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

} // namespace

QWidget* LayoutController::controlWithTag(int tag) const
{
    static const std::map<int, const char*> sheets = {{1, "page"}, {2, "masthead"}, {3, "navigation"}, {4, "content"},
        {5, "photoalbum"}, {7, "footer"}, {8, "pagetitle"}, {9, "slideshow"}, {11, "vornbox"}, {12, "paypal"}};
    const int hundreds = tag / 100;
    QWidget* view = nullptr;
    if (hundreds == 6)
        view = _borderPanel->bbView();
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
            _canvas->deactivateColorWells();
        if (auto* box = XmlVornBox::cast(element)) {
            sheet->setCurrentWidget(box->UUID());
            const QList<std::shared_ptr<XmlVornBox>> boxes = sheet->getVornBoxes();
            for (int row = 0; row < boxes.size(); ++row) {
                if (boxes[row].get() == box)
                    _elementTables->vornBoxList()->selectRow(row);
            }
        }
        _currentSelectedObject = element ? element->UUID() : QString();
        if (changed)
            sheet->relayoutFlags(page.get(), 0);
        _elementTables->selectElementListRow(element);
        _pageSheet->pageImageWell()->setXmlImage(sheet->image());

        if (!element) {
            if (changed)
                _tabview->selectTabViewItemWithIdentifier(QStringLiteral("page"));
            _pageSheet->fill(*sheet);
            return;
        }
        const QString identifier = sheetOf(element);
        if (identifier.isEmpty())
            return;
        if (changed)
            _tabview->selectTabViewItemWithIdentifier(identifier);
        _canvas->showGeometryOf(element);
        setBandB(element);
        fillSheet(element, *sheet);
    });
}


void LayoutController::fillSheet(XmlBoxModel* element, XmlStyleSheet& sheet)
{
    if (auto* menu = XmlWebMenu::cast(element))
        _navigationSheet->fill(*menu);
    else if (auto* box = XmlWebBox::cast(element))
        _boxSheet->fill(*box);
    else if (auto* footer = XmlWebFooter::cast(element))
        _footerSheet->fill(*footer);
    else if (auto* vornBox = XmlVornBox::cast(element))
        _vornBoxSheet->fill(*vornBox);
    else if (auto* content = XmlWebContent::cast(element))
        _contentSheet->fill(*content, sheet);
    else if (auto* album = XmlWebPhotoAlbum::cast(element))
        _photoAlbumSheet->fill(*album);
    else if (auto* slideshow = XmlSlideshow::cast(element))
        _slideshowSheet->fill(*slideshow);
}


// --- The sheets -----------------------------------------------------------------------------------------

// The PayPal sheet is filled from the template's photo album whatever is
// selected, which also decides whether the inspector has a slideshow sheet.
void LayoutController::albumOptionsSet()
{
    lq::uiFrame(this, "albumOptionsSet", [&] {
        const std::shared_ptr<XmlStyleSheet> sheet = getTemplate();
        const std::shared_ptr<XmlAlbum> page = getAlbum();
        if (!sheet || !page)
            return;
        const XmlBasePtr found = sheet->getElementWithName(QStringLiteral("Photo Album"));
        XmlWebPhotoAlbum* album = XmlWebPhotoAlbum::cast(found.get());
        if (!album)
            return;
        _payPalSheet->fill(*album);
        _slideshowSheet->place(*album, *page);
    });
}
