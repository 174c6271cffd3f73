// The inspector follows the selection: the sheet of the selected element
// comes to the front and every control of it shows the element's values.
// Filling only shows: no control sends its action while it is filled.
#include "ui/layout/LayoutController.h"

#include "ui/editors/photo/ImageWell.h"
#include "elements/XmlSlideshow.h"
#include "elements/XmlVornBox.h"
#include "elements/XmlWebBox.h"
#include "elements/XmlWebFooter.h"
#include "elements/XmlWebMenu.h"
#include "elements/XmlWebPhotoAlbum.h"
#include "ui/layout/BorderPanel.h"
#include "ui/layout/CanvasController.h"
#include "ui/layout/BoxSheet.h"
#include "ui/layout/ContentSheet.h"
#include "ui/layout/FooterSheet.h"
#include "ui/layout/ElementTables.h"
#include "ui/layout/InspectorTags.h"
#include "ui/layout/NavigationSheet.h"
#include "ui/layout/PageSheet.h"
#include "ui/layout/PayPalSheet.h"
#include "ui/layout/PhotoAlbumSheet.h"
#include "ui/layout/QZLayoutView.h"
#include "ui/layout/SlideshowSheet.h"
#include "ui/layout/VornBoxSheet.h"
#include "model/site/XmlAlbum.h"
#include "platform/ExceptionFrame.h"
#include "ui/widgets/ControlTags.h"
#include "ui/widgets/ControlValues.h"
#include "ui/widgets/MyColorWell.h"
#include "ui/widgets/MyTabView.h"
#include "ui/widgets/MyTableView.h"
#include "ui/widgets/MyTextView.h"
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
