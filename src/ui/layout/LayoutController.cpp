#include "ui/layout/LayoutController.h"

#include "ui/app/CopyElements.h"
#include "ui/app/DeleteTemplates.h"
#include "ui/app/MyDocumentWindow.h"
#include "document/MyDocument.h"
#include "ui/editors/text/QZTextEditor.h"
#include "elements/XmlVornBox.h"
#include "elements/XmlWebPhotoAlbum.h"
#include "ui/layout/AlbumDialogs.h"
#include "ui/layout/BorderPanel.h"
#include "ui/layout/BoxSheet.h"
#include "ui/layout/CanvasController.h"
#include "ui/layout/ContentSheet.h"
#include "ui/layout/ElementTables.h"
#include "ui/layout/FooterSheet.h"
#include "ui/layout/MyScrollView.h"
#include "ui/layout/NavigationSheet.h"
#include "ui/layout/PageNavigation.h"
#include "ui/layout/PageSheet.h"
#include "ui/layout/PayPalSheet.h"
#include "ui/layout/PhotoAlbumSheet.h"
#include "ui/layout/QZLayoutView.h"
#include "ui/layout/SlideshowSheet.h"
#include "ui/layout/TemplateSelector.h"
#include "ui/layout/VornBoxSheet.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlSite.h"
#include "theme/XmlTheme.h"
#include "platform/DelayedCall.h"
#include "platform/ExceptionFrame.h"
#include "ui/widgets/ControlTags.h"
#include "ui/widgets/ItemModelAdaptor.h"
#include "ui/widgets/MyMatrix.h"
#include "ui/widgets/MyOutlineView.h"
#include "ui/widgets/MyPopUpButton.h"
#include "ui/widgets/MyTabView.h"
#include "ui/widgets/MyTableView.h"
#include "templates/XmlBoxModel.h"
#include "templates/XmlStyleSheet.h"

#include <QAbstractButton>
#include <QItemSelectionModel>
#include <QLabel>
#include <QScopedValueRollback>
#include <QSignalBlocker>

namespace {

// The sheets of the inspector, in the order the tab view holds them.
const QStringList& sheetIdentifiers()
{
    static const QStringList identifiers = {
        QStringLiteral("page"), QStringLiteral("masthead"), QStringLiteral("footer"), QStringLiteral("pagetitle"),
        QStringLiteral("navigation"), QStringLiteral("content"), QStringLiteral("photoalbum"), QStringLiteral("slideshow"),
        QStringLiteral("borders"), QStringLiteral("vornbox"), QStringLiteral("paypal"),
    };
    return identifiers;
}

// An element sheet: the template element it edits and the hundreds of its
// controls' tags (its Properties button is N99, its Borders button N98).
struct ElementSheet {
    const char* identifier;
    const char* element;
    int hundreds;
};

constexpr ElementSheet elementSheets[] = {
    {"masthead", "Masthead", 2},
    {"footer", "Footer", 7},
    {"pagetitle", "Page Title", 8},
    {"navigation", "Navigation", 3},
    {"content", "Content", 4},
    {"photoalbum", "Photo Album", 5},
    {"slideshow", "Slideshow", 9},
};

const ElementSheet* elementSheet(const QString& identifier)
{
    for (const ElementSheet& sheet : elementSheets) {
        if (identifier == QLatin1String(sheet.identifier))
            return &sheet;
    }
    return nullptr;
}

void setButtonState(QWidget* view, int tag, bool on)
{
    if (auto* button = qobject_cast<QAbstractButton*>(lq::viewWithTag(view, tag)))
        button->setChecked(on);
}

XmlStyleSheet::View viewFor(int globalIndex)
{
    return globalIndex != -1 ? XmlStyleSheet::View::Slideshow : XmlStyleSheet::View::Page;
}

// The template shows its page view or its slideshow view, laid out again on the canvas.
void relayoutShown(QZLayoutView& canvas, XmlStyleSheet& sheet, XmlAlbum* page, bool slideshowView)
{
    sheet.setPageView(page, slideshowView ? XmlStyleSheet::View::Slideshow : XmlStyleSheet::View::Page);
    sheet.relayoutFlags(page, 0);
    canvas.update();
    canvas.fitMe();
}

} // namespace

LayoutController::LayoutController(MyDocumentWindow& window)
    : _window(window)
    , _pageSheet(std::make_unique<PageSheet>(*this))
    , _boxSheet(std::make_unique<BoxSheet>(*this))
    , _footerSheet(std::make_unique<FooterSheet>(*this))
    , _contentSheet(std::make_unique<ContentSheet>(*this))
    , _navigationSheet(std::make_unique<NavigationSheet>(*this))
    , _photoAlbumSheet(std::make_unique<PhotoAlbumSheet>(*this))
    , _albumDialogs(std::make_unique<AlbumDialogs>(*this))
    , _slideshowSheet(std::make_unique<SlideshowSheet>(*this))
    , _payPalSheet(std::make_unique<PayPalSheet>(*this))
    , _vornBoxSheet(std::make_unique<VornBoxSheet>(*this))
    , _borderPanel(std::make_unique<BorderPanel>(*this))
    , _templateSelector(std::make_unique<TemplateSelector>(*this))
    , _elementTables(std::make_unique<ElementTables>(*this))
    , _canvas(std::make_unique<CanvasController>(*this))
    , _pages(std::make_unique<PageNavigation>(*this))
{
    lq::uiFrame(this, "awakeFromNib", [&] {
        _layoutView = new QZLayoutView(*this, document());
        buildLayoutPage();
        buildPreviewPage();
        buildSheets();
        _canvas->scrollLayoutView()->enableRulers();
        _canvas->showCanvas(false);
        _window.tabView()->setViewOfItem(QStringLiteral("layout"), _layoutPage);
        _window.tabView()->setViewOfItem(QStringLiteral("preview"), _previewPage);
        updateTemplateSelector();
    });
}

LayoutController::~LayoutController()
{
    // A refused number's correction waits no longer.
    lq::cancelAll(this);
    // Tabs and rows going away with their views are nobody's choice.
    for (QObject* sender : std::initializer_list<QObject*> {_tabview, _payPalSheet->payPalTabView(), _pages->webPage(), _pages->webPage2(),
             templateList() ? templateList()->selectionModel() : nullptr}) {
        if (sender)
            disconnect(sender, nullptr, this, nullptr);
    }
    // The Vorn Box's text editor lets its view go before the view goes.
    if (QZTextEditor* text = _vornBoxSheet->vornBoxText())
        text->setCtv(nullptr);
    // The pages hold the canvas and the template list, which ask this
    // controller and its list source: they go first.
    delete _layoutPage.data();
    delete _previewPage.data();
    delete _sheetHolder;
}

MyDocument& LayoutController::document() const
{
    return _window.document();
}

// --- What the page elements ask, through the document ------------------------------------------------

void LayoutController::addTrackingDataForObjectDataRect(const QString& uuid, const QString& data, const lq::Rect& rect)
{
    _layoutView->addTrackingDataForObjectDataRect(uuid, data, rect);
}

void LayoutController::clearTrackingDataForObject(const QString& uuid)
{
    _layoutView->clearTrackingDataForObject(uuid);
}

void LayoutController::clearTrackingData()
{
    _layoutView->clearTrackingData();
}

void LayoutController::redisplayRect(const lq::Rect& rect)
{
    // Any rectangle, the empty one too, repaints the whole canvas.
    _layoutView->redisplayRect(rect);
    _pages->displayStatusString();
}

lq::PreviewView* LayoutController::getWidgetView(int number)
{
    return _layoutView->getWidgetView(number);
}

void LayoutController::layoutViewSelectedObjectRefresh()
{
    _layoutView->selectedObjectRefresh();
}

void LayoutController::enableRTL(int flag)
{
    if (QZTextEditor* text = _vornBoxSheet->vornBoxText())
        text->enableRTL(flag != 0);
}

void LayoutController::refreshEditor()
{
    relayoutSheet();
}

void LayoutController::saveEdits()
{
    lq::uiFrame(this, "saveEdits", [&] { _layoutView->setCurrentSelectedObject(nullptr); });
}

// --- Pages and templates ---------------------------------------------------------------------------------

std::shared_ptr<XmlAlbum> LayoutController::getAlbum()
{
    return std::dynamic_pointer_cast<XmlAlbum>(XmlBase::UUID(_currentAlbum));
}

std::shared_ptr<XmlStyleSheet> LayoutController::currentTemplate() const
{
    return std::dynamic_pointer_cast<XmlStyleSheet>(XmlBase::UUID(_currentTemplate));
}

std::shared_ptr<XmlStyleSheet> LayoutController::getTemplate()
{
    const std::shared_ptr<XmlAlbum> page = getAlbum();
    if (page && page->isExternalLink())
        return nullptr;
    return currentTemplate();
}

void LayoutController::switchTemplate(XmlStyleSheet* from, XmlStyleSheet* to, bool differ)
{
    if (!differ)
        return;
    if (to) {
        to->loadBackstore(this);
        to->startAnimations();
    }
    if (from && from != to) {
        from->stopAnimations();
        from->releaseBackstore(this);
    }
}

void LayoutController::setPreviewPageIndex(const QString& uuid, int index)
{
    lq::uiFrame(this, "setPreviewPage:index:", [&] {
        const std::shared_ptr<XmlAlbum> page = std::dynamic_pointer_cast<XmlAlbum>(XmlBase::UUID(uuid));
        if (!page)
            return;
        _currentAlbum = uuid;
        _window.setCurrentObject(page.get());

        const std::shared_ptr<XmlStyleSheet> shown = page->getTemplate();
        const std::shared_ptr<XmlStyleSheet> before = currentTemplate();
        const bool differ = shown && before ? shown->templateSeqNum() != before->templateSeqNum() : shown != before;
        switchTemplate(before.get(), shown.get(), differ);
        _currentTemplate = shown ? shown->UUID() : QString();
        _templateSelector->selectTemplateInList(shown.get());
        _globalIndex = index;
        activateTab(document().testMode());
    });
}

void LayoutController::setPageWithTemplate(const QString& pageUUID, const QString& sheetUUID)
{
    lq::uiFrame(this, "setPage:withTemplate:", [&] {
        const std::shared_ptr<XmlAlbum> page = std::dynamic_pointer_cast<XmlAlbum>(XmlBase::UUID(pageUUID));
        const std::shared_ptr<XmlStyleSheet> chosen = std::dynamic_pointer_cast<XmlStyleSheet>(XmlBase::UUID(sheetUUID));
        // A page never loses its template to a name that resolves to nothing.
        if (!page || !chosen)
            return;
        const std::shared_ptr<XmlStyleSheet> before = currentTemplate();
        switchTemplate(before.get(), chosen.get(), chosen->UUID() != _currentTemplate);
        _currentTemplate = chosen->UUID();
        _templateSelector->selectTemplateInList(chosen.get());
        _currentAlbum = pageUUID;
        _window.setCurrentObject(page.get());
        _globalIndex = -1;
        page->setTemplate(chosen.get());
        activateTab(document().testMode());
    });
}

void LayoutController::relayoutSheet()
{
    lq::uiFrame(this, "relayoutSheet", [&] {
        const std::shared_ptr<XmlAlbum> page = getAlbum();
        if (!page)
            return;
        const std::shared_ptr<XmlStyleSheet> sheet = page->getTemplate();
        if (!sheet)
            return;
        if (document().testMode())
            sheet->setPageView(page.get(), viewFor(_globalIndex));
        sheet->relayoutFlags(page.get(), 0);
        _layoutView->updateBrowserViews();
        _layoutView->fitMe();
        _layoutView->update();
    });
}

void LayoutController::activateTab(bool testMode)
{
    lq::modelFrame(this, "activateTab:", [&] {
        const std::shared_ptr<XmlStyleSheet> sheet = getTemplate();
        const std::shared_ptr<XmlAlbum> page = getAlbum();
        _pages->displayStatusString();
        _pages->fillWebPages();
        const int number = sheet ? sheet->setPageView(page.get(), viewFor(_globalIndex)) : 0;
        _elementTables->setShownElements(number, sheet ? sheet->visibleElements() : QStringList());
        _elementTables->reloadElementTables();
        if (sheet) {
            sheet->relayoutFlags(page.get(), 0);
        } else {
            // Nothing is laid out for a page without a template: the areas
            // of the page shown before must not answer the pointer.
            clearTrackingData();
        }
        removeAllTabs();
        tabViewDidSelectTabViewItem(_tabview, _tabview->selectedIdentifier());
        if (testMode) {
            _canvas->showCanvas(true);
            _layoutView->setTestMode(true);
            if (sheet)
                sheet->startAnimations();
        } else {
            _canvas->showCanvas(false);
            _layoutView->setTestMode(false);
            if (sheet)
                sheet->stopAnimations();
        }
        _layoutView->updateBrowserViews();
        _layoutView->setFocus();
        _layoutView->update();
        _layoutView->fitMe();
        compactUI(false);
    });
}

// --- Page navigation ---------------------------------------------------------------------------------------

// --- Template selector ----------------------------------------------------------------------------------------

void LayoutController::updateTemplateSelector()
{
    lq::uiFrame(this, "updateTemplateSelector", [&] {
        _templateSelector->showTheme(document().theme());
        XmlStyleSheet* first = document().defaultTemplate();
        if (!first)
            return;
        _currentTemplate = first->UUID();
        _globalIndex = -1;
        first->loadBackstore(this);
        _templateSelector->selectTemplateInList(first);
    });
}

// --- The template's elements ---------------------------------------------------------------------------------

// --- Sheets ---------------------------------------------------------------------------------------------------------

QWidget* LayoutController::sheetView(const QString& identifier) const
{
    const auto found = _sheetViews.find(identifier);
    return found == _sheetViews.end() ? nullptr : found->second.data();
}

void LayoutController::showSheetTab(const QString& identifier, bool shown)
{
    const bool showing = _tabview->indexOfTabViewItemWithIdentifier(identifier) >= 0;
    if (shown && !showing) {
        const QScopedValueRollback<bool> quiet(_tabfalsealarm, true);
        _tabview->insertTabViewItem(identifier, _tabview->count());
    } else if (!shown && showing) {
        _tabview->removeTabViewItem(identifier);
    }
}

void LayoutController::removeAllTabs()
{
    lq::uiFrame(this, "removeAllTabs", [&] {
        const std::shared_ptr<XmlStyleSheet> sheet = getTemplate();
        if (!sheet)
            return;
        // While the sheets are rebuilt, choosing a sheet means nothing.
        const QScopedValueRollback<bool> quiet(_tabfalsealarm, true);
        for (const QString& identifier : sheetIdentifiers())
            _tabview->removeTabViewItem(identifier);
        const auto add = [&](const char* identifier) { _tabview->insertTabViewItem(QLatin1String(identifier), _tabview->count()); };
        const auto shows = [&](const char* element) {
            XmlCSS* found = XmlCSS::cast(sheet->getElementWithName(QLatin1String(element)).get());
            return found && found->baseVisibility();
        };
        add("page");
        add("vornbox");
        _borderPanel->backgroundBox()->show();
        for (const char* identifier : {"content", "masthead", "footer", "pagetitle", "navigation"}) {
            if (shows(elementSheet(QLatin1String(identifier))->element))
                add(identifier);
        }
        const bool album = shows("Photo Album");
        const bool slideshow = shows("Slideshow");
        if (album)
            add("photoalbum");
        if (slideshow)
            add("slideshow");
        if (album || slideshow)
            add("paypal");
        albumOptionsSet();
    });
}

void LayoutController::giveSheetsTheirViews()
{
    for (const QString& identifier : sheetIdentifiers()) {
        QWidget* own = sheetView(identifier);
        if (!own || identifier == u"borders")
            continue;
        if (QWidget* lent = _tabview->swapViewOfItem(identifier, own))
            lent->setParent(_sheetHolder);
    }
}


void LayoutController::tabViewDidSelectTabViewItem(MyTabView* tabs, const QString& identifier)
{
    lq::uiFrame(this, "tabView:didSelectTabViewItem:", [&] {
        if (_tabfalsealarm || document().testMode())
            return;
        const std::shared_ptr<XmlStyleSheet> sheet = getTemplate();
        if (!sheet)
            return;
        const std::shared_ptr<XmlAlbum> page = getAlbum();
        if (tabs != _tabview) {
            setSelectedObject(XmlBoxModel::cast(_layoutView->currentSelectedObject().get()));
            if (tabs == _payPalSheet->payPalTabView()) {
                if (identifier == u"slideshow")
                    relayoutShown(*_layoutView, *sheet, page.get(), true);
                else if (sheet->view() != XmlStyleSheet::View::Page)
                    relayoutShown(*_layoutView, *sheet, page.get(), false);
                albumOptionsSet();
            }
            return;
        }
        giveSheetsTheirViews();
        const bool slideshowView = identifier == u"slideshow"
            || (identifier == u"paypal" && _payPalSheet->payPalTabView()->selectedIdentifier() == u"slideshow");
        if (slideshowView)
            relayoutShown(*_layoutView, *sheet, page.get(), true);
        else if (sheet->view() != XmlStyleSheet::View::Page)
            relayoutShown(*_layoutView, *sheet, page.get(), false);

        if (identifier == u"page" || identifier == u"picture")
            _layoutView->setCurrentSelectedObject(nullptr);
        else if (elementSheet(identifier))
            selectSheetElement(identifier, *sheet, page.get());
        else if (identifier == u"vornbox")
            selectVornBoxSheet(*sheet);
        _layoutView->setFocus();
        _layoutView->update();
    });
}

void LayoutController::selectSheetElement(const QString& identifier, XmlStyleSheet& sheet, XmlAlbum*)
{
    const ElementSheet& kind = *elementSheet(identifier);
    if (identifier == u"slideshow")
        _slideshowSheet->slideVisible()->setHidden(sheet.view() == XmlStyleSheet::View::Page);
    const XmlBasePtr element = sheet.getElementWithName(QLatin1String(kind.element));
    if (!element)
        return;
    _layoutView->setCurrentSelectedObject(XmlCSS::cast(element.get()));
    if (_borderMode) {
        if (QWidget* own = _tabview->swapViewOfItem(identifier, _bordersTabView))
            own->setParent(_sheetHolder);
        _borderPanel->showFor(identifier);
        return;
    }
    QWidget* own = sheetView(identifier);
    setButtonState(own, kind.hundreds * 100 + 99, true);
    setButtonState(own, kind.hundreds * 100 + 98, false);
    if (identifier == u"content" || identifier == u"photoalbum")
        _borderPanel->backgroundBox()->hide();
    if (identifier == u"photoalbum") {
        const XmlWebPhotoAlbum* album = XmlWebPhotoAlbum::cast(element.get());
        const bool freeStyle = album && album->afterDescription() == 2;
        _photoAlbumSheet->paFreeStyle()->setVisible(freeStyle);
        _photoAlbumSheet->paThumbnail()->setVisible(!freeStyle);
    }
}

void LayoutController::selectVornBoxSheet(XmlStyleSheet& sheet)
{
    QWidget* own = sheetView(QStringLiteral("vornbox"));
    const QList<std::shared_ptr<XmlVornBox>> boxes = sheet.getVornBoxes();
    QWidget* kind = lq::viewWithTag(own, 1109);
    for (QWidget* control : {kind, _vornBoxSheet->vornBoxPosition(), static_cast<QWidget*>(_vornBoxSheet->vornBoxTab())}) {
        if (control)
            control->setVisible(!boxes.isEmpty());
    }
    if (boxes.isEmpty())
        return;
    XmlCSS* current = XmlCSS::cast(XmlBase::UUID(sheet.currentWidget()).get());
    XmlBoxModel* selected = _layoutView->setCurrentSelectedObject(current ? current : boxes.first().get());
    XmlVornBox* box = XmlVornBox::cast(selected);
    if (_borderMode) {
        if (QWidget* lent = _tabview->swapViewOfItem(QStringLiteral("vornbox"), _bordersTabView))
            lent->setParent(_sheetHolder);
        _borderPanel->showForVornBox(box);
        return;
    }
    setButtonState(own, 1199, true);
    setButtonState(own, 1198, false);
    if (box)
        correctVornBoxUI(box);
}

void LayoutController::correctVornBoxUI(XmlVornBox* box)
{
    _vornBoxSheet->fit(box);
}

void LayoutController::setBandB(XmlBoxModel* element)
{
    _borderPanel->fill(element);
}

MyOutlineView* LayoutController::templateList() const
{
    return _templateSelector->templateList();
}

// --- The canvas's delegate ----------------------------------------------------------------------------------

void LayoutController::moveSelectedObject(XmlBoxModel* element)
{
    lq::uiFrame(this, "moveSelectedObject:", [&] { _canvas->showGeometryOf(element); });
}

lq::Rect LayoutController::willMoveObjectRect(XmlCSS* element, const lq::Rect& rect)
{
    return _canvas->moveObjectToRect(element, rect);
}

void LayoutController::doubleClickedObject(XmlBase* element)
{
    _canvas->openContentOf(element);
}

void LayoutController::compactUI(bool)
{
    _canvas->arrangeTools();
}
