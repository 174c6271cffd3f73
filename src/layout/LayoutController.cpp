#include "layout/LayoutController.h"

#include "app/CopyElements.h"
#include "app/DeleteTemplates.h"
#include "app/MyDocumentWindow.h"
#include "document/MyDocument.h"
#include "editors/text/QZTextEditor.h"
#include "elements/XmlVornBox.h"
#include "elements/XmlWebPhotoAlbum.h"
#include "layout/ElementTableSource.h"
#include "layout/MyScrollView.h"
#include "layout/QZLayoutView.h"
#include "layout/TemplateListSource.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlSite.h"
#include "model/theme/XmlTheme.h"
#include "platform/DelayedCall.h"
#include "platform/ExceptionFrame.h"
#include "platform/widgets/ControlTags.h"
#include "platform/widgets/ItemModelAdaptor.h"
#include "platform/widgets/MyMatrix.h"
#include "platform/widgets/MyOutlineView.h"
#include "platform/widgets/MyPopUpButton.h"
#include "platform/widgets/MyTabView.h"
#include "platform/widgets/MyTableView.h"
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

} // namespace

LayoutController::LayoutController(MyDocumentWindow& window)
    : _window(window)
    , _templateSource(std::make_unique<TemplateListSource>())
{
    lq::uiFrame(this, "awakeFromNib", [&] {
        _layoutView = new QZLayoutView(*this, document());
        buildLayoutPage();
        buildPreviewPage();
        buildSheets();
        _elementNames = {QStringLiteral("Page Background"), QStringLiteral("Text Contents"), QStringLiteral("Masthead"),
            QStringLiteral("Footer"), QStringLiteral("Page Title"), QStringLiteral("Navigation"), QStringLiteral("Photo Album"),
            QStringLiteral("Slideshow")};
        _scrollLayoutView->enableRulers();
        _scrollLayoutView->setSubview(_layoutView);
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
    for (QObject* sender : std::initializer_list<QObject*> {_tabview, _payPalTabView, _webPage, _webPage2,
             _templateList ? _templateList->selectionModel() : nullptr}) {
        if (sender)
            disconnect(sender, nullptr, this, nullptr);
    }
    // The Vorn Box's text editor lets its view go before the view goes.
    if (_vornBoxText)
        _vornBoxText->setCtv(nullptr);
    // The pages hold the canvas and the template list, which ask this
    // controller and its list source: they go first.
    delete _layoutPage.data();
    delete _previewPage.data();
    delete _sheetHolder;
}

void LayoutController::install()
{
    MyDocumentWindow::setLayoutFactory([](MyDocumentWindow& window) -> std::unique_ptr<LayoutControllerBase> {
        return std::make_unique<LayoutController>(window);
    });
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
    displayStatusString();
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
    if (_vornBoxText)
        _vornBoxText->enableRTL(flag != 0);
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

void LayoutController::selectTemplateInList(XmlStyleSheet* sheet)
{
    ItemModelAdaptor* adaptor = _templateList->adaptor();
    if (!adaptor)
        return;
    // Choosing the row here is not the user choosing a template.
    const QSignalBlocker quiet(_templateList->selectionModel());
    const QModelIndex row = sheet ? adaptor->indexForItem(sheet) : QModelIndex();
    if (row.isValid())
        _templateList->selectionModel()->setCurrentIndex(row, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    else
        _templateList->selectionModel()->clearSelection();
    _templateList->viewport()->update();
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
        selectTemplateInList(shown.get());
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
        selectTemplateInList(chosen.get());
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

void LayoutController::displayStatusString()
{
    if (getAlbum())
        _statusLine->setText(QStringLiteral("Control + Click to Edit Photos"));
}

void LayoutController::activateTab(bool testMode)
{
    lq::modelFrame(this, "activateTab:", [&] {
        const std::shared_ptr<XmlStyleSheet> sheet = getTemplate();
        const std::shared_ptr<XmlAlbum> page = getAlbum();
        displayStatusString();
        fillWebPages();
        _numberElements = sheet ? sheet->setPageView(page.get(), viewFor(_globalIndex)) : 0;
        _visibleElements = sheet ? sheet->visibleElements() : QStringList();
        reloadElementTables();
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
            _scrollBrowserView->setSubview(_layoutView);
            _layoutView->setTestMode(true);
            if (sheet)
                sheet->startAnimations();
        } else {
            _scrollLayoutView->setSubview(_layoutView);
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

void LayoutController::fillWebPages()
{
    lq::uiFrame(this, "fillWebPages", [&] {
        const std::shared_ptr<XmlAlbum> current = getAlbum();
        if (!current)
            return;
        const QList<std::shared_ptr<XmlBase>> pages = document().webItems();
        int selected = 0;
        for (int index = 0; index < pages.size(); ++index) {
            if (pages[index] == current)
                selected = index;
        }
        for (MyPopUpButton* popUp : {_webPage, _webPage2}) {
            const QSignalBlocker quiet(popUp);
            popUp->clear();
            for (const std::shared_ptr<XmlBase>& page : pages)
                popUp->addItem(page->name());
            popUp->setCurrentIndex(pages.isEmpty() ? -1 : selected);
        }
    });
}

int LayoutController::selectedPageIndex() const
{
    return _webPage->currentIndex();
}

void LayoutController::showPageAt(int index)
{
    const QList<std::shared_ptr<XmlBase>> pages = document().webItems();
    if (index < 0 || index >= pages.size())
        return;
    setPreviewPageIndex(pages[index]->UUID(), -1);
}

void LayoutController::selectPage(MyPopUpButton* sender)
{
    lq::uiFrame(this, "selectPage:", [&] { showPageAt(sender ? sender->currentIndex() : selectedPageIndex()); });
}

void LayoutController::homePage()
{
    lq::uiFrame(this, "homePage:", [&] {
        if (XmlSite* site = document().site()) {
            if (const XmlBasePtr page = site->defaultAlbum())
                setPreviewPageIndex(page->UUID(), -1);
        }
    });
}

void LayoutController::nextPage()
{
    lq::uiFrame(this, "nextPage:", [&] {
        const qsizetype count = document().webItems().size();
        if (count == 0)
            return;
        showPageAt(int((selectedPageIndex() + 1) % count));
    });
}

void LayoutController::prevPage()
{
    lq::uiFrame(this, "prevPage:", [&] {
        // A picture preview goes back to its page first.
        if (_globalIndex != -1) {
            setPreviewPageIndex(_currentAlbum, -1);
            return;
        }
        const qsizetype count = document().webItems().size();
        if (count == 0)
            return;
        showPageAt(int((selectedPageIndex() - 1 + count) % count));
    });
}

// --- Template selector ----------------------------------------------------------------------------------------

void LayoutController::updateTemplateSelector()
{
    lq::uiFrame(this, "updateTemplateSelector", [&] {
        XmlTheme* theme = document().theme();
        _templateSource->setXmlBase(theme ? theme->UUID() : QString());
        _templateList->reloadData();
        XmlStyleSheet* first = document().defaultTemplate();
        if (!first)
            return;
        _currentTemplate = first->UUID();
        _globalIndex = -1;
        first->loadBackstore(this);
        selectTemplateInList(first);
    });
}

void LayoutController::addTemplate()
{
    lq::uiFrame(this, "addTemplate:", [&] {
        const std::shared_ptr<XmlStyleSheet> original = currentTemplate();
        const std::shared_ptr<XmlAlbum> page = getAlbum();
        XmlTheme* theme = document().theme();
        if (!original || !page || !theme)
            return;
        const std::shared_ptr<XmlStyleSheet> copy
            = std::dynamic_pointer_cast<XmlStyleSheet>(XmlBase::createWithXmlRootDir(original->createXml(), QString()));
        if (!copy)
            return;
        theme->addTemplate(copy);
        _templateList->reloadData();
        copy->setName(page->name());
        page->setTemplateNum(copy->templateSeqNum());
        page->setTemplateForUUID(copy->templateSeqNum(), copy->UUID());
        setPageWithTemplate(page->UUID(), copy->UUID());
    });
}

void LayoutController::templateSelector()
{
    lq::uiFrame(this, "templateSelector:", [&] {
        const QModelIndex current = _templateList->selectionModel()->currentIndex();
        auto* chosen = TemplateListSource::element(_templateList->adaptor()->itemForIndex(current));
        if (XmlStyleSheet::cast(chosen))
            setPageWithTemplate(_currentAlbum, chosen->UUID());
    });
}

void LayoutController::deleteTemplates()
{
    lq::uiFrame(this, "deleteTemplates:", [&] {
        DeleteTemplates sheet(&_window, document());
        if (sheet.deleteTemplates() > 0)
            updateTemplateSelector();
    });
}

void LayoutController::copyElements()
{
    lq::uiFrame(this, "copyElements:", [&] {
        const QModelIndex current = _templateList->selectionModel()->currentIndex();
        XmlStyleSheet* source = XmlStyleSheet::cast(TemplateListSource::element(_templateList->adaptor()->itemForIndex(current)));
        CopyElements sheet(&_window, document());
        sheet.copyElements(source);
        _templateList->reloadData();
        relayoutSheet();
    });
}

bool LayoutController::outlineViewIsItemExpandable(XmlBase* item) const
{
    if (!item || XmlStyleSheet::cast(item))
        return false;
    return item->canHaveChildren();
}

// --- The template's elements ---------------------------------------------------------------------------------

XmlBasePtr LayoutController::getElementAtIndex(int index)
{
    return lq::uiFrame(this, "getElementAtIndex:", [&]() -> XmlBasePtr {
        const std::shared_ptr<XmlStyleSheet> sheet = getTemplate();
        if (!sheet || index < 0)
            return nullptr;
        int counted = 0;
        for (const auto& element : sheet->childrenOfType<XmlCSS>()) {
            if (!element->enabled())
                continue;
            if (counted++ == index)
                return element;
        }
        return nullptr;
    });
}

int LayoutController::getIndexForElement(XmlBase* element)
{
    return lq::uiFrame(this, "getIndexForElement:", [&] {
        const std::shared_ptr<XmlStyleSheet> sheet = getTemplate();
        if (!sheet || !element)
            return -1;
        int counted = 0;
        for (const auto& candidate : sheet->childrenOfType<XmlCSS>()) {
            if (!candidate->enabled())
                continue;
            if (candidate.get() == element)
                return counted;
            ++counted;
        }
        return -1;
    });
}

bool LayoutController::getVisibilityOfElementAtIndex(int index)
{
    XmlCSS* element = XmlCSS::cast(getElementAtIndex(index).get());
    return !element || element->baseVisibility();
}

void LayoutController::setVisibilityOfElementAtIndexVisible(int index, bool visible)
{
    lq::uiFrame(this, "setVisibilityOfElementAtIndex:visible:", [&] {
        const std::shared_ptr<XmlStyleSheet> sheet = getTemplate();
        if (!sheet)
            return;
        if (XmlCSS* element = XmlCSS::cast(getElementAtIndex(index).get()))
            element->setVisible(visible);
        removeAllTabs();
        relayoutSheet();
        _visibleElements = sheet->visibleElements();
        // The slideshow view's table lists the elements shown now.
        _slideElementList->reloadData();
    });
}

// --- Sheets ---------------------------------------------------------------------------------------------------------

QWidget* LayoutController::sheetView(const QString& identifier) const
{
    const auto found = _sheetViews.find(identifier);
    return found == _sheetViews.end() ? nullptr : found->second.data();
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
        _backgroundBox->show();
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

void LayoutController::relayoutShown(XmlStyleSheet& sheet, XmlAlbum* page, bool slideshowView)
{
    sheet.setPageView(page, slideshowView ? XmlStyleSheet::View::Slideshow : XmlStyleSheet::View::Page);
    sheet.relayoutFlags(page, 0);
    _layoutView->update();
    _layoutView->fitMe();
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
            if (tabs == _payPalTabView) {
                if (identifier == u"slideshow")
                    relayoutShown(*sheet, page.get(), true);
                else if (sheet->view() != XmlStyleSheet::View::Page)
                    relayoutShown(*sheet, page.get(), false);
                albumOptionsSet();
            }
            return;
        }
        giveSheetsTheirViews();
        const bool slideshowView = identifier == u"slideshow"
            || (identifier == u"paypal" && _payPalTabView->selectedIdentifier() == u"slideshow");
        if (slideshowView)
            relayoutShown(*sheet, page.get(), true);
        else if (sheet->view() != XmlStyleSheet::View::Page)
            relayoutShown(*sheet, page.get(), false);

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
        _slideVisible->setHidden(sheet.view() == XmlStyleSheet::View::Page);
    const XmlBasePtr element = sheet.getElementWithName(QLatin1String(kind.element));
    if (!element)
        return;
    _layoutView->setCurrentSelectedObject(XmlCSS::cast(element.get()));
    if (_borderMode) {
        if (QWidget* own = _tabview->swapViewOfItem(identifier, _bordersTabView))
            own->setParent(_sheetHolder);
        _propertiesButton->setChecked(false);
        _bordersButton->setChecked(true);
        _backgroundBox->setVisible(identifier != u"navigation" || _navigationbbtab == 1);
        const bool plain = identifier == u"masthead" || identifier == u"footer" || identifier == u"pagetitle" || identifier == u"content";
        _whichBorderLabel->setHidden(plain);
        _whichBorderMatrix->setHidden(plain);
        if (!plain) {
            const bool menu = identifier == u"navigation";
            _whichBorderOption1->setText(menu ? QStringLiteral("Menu Item") : QStringLiteral("Picture Frame"));
            _whichBorderOption2->setText(menu ? QStringLiteral("Menu")
                    : identifier == u"photoalbum" ? QStringLiteral("Photo Album")
                                                  : QStringLiteral("Background Box"));
        }
        return;
    }
    QWidget* own = sheetView(identifier);
    setButtonState(own, kind.hundreds * 100 + 99, true);
    setButtonState(own, kind.hundreds * 100 + 98, false);
    if (identifier == u"content" || identifier == u"photoalbum")
        _backgroundBox->hide();
    if (identifier == u"photoalbum") {
        const XmlWebPhotoAlbum* album = XmlWebPhotoAlbum::cast(element.get());
        const bool freeStyle = album && album->afterDescription() == 2;
        _paFreeStyle->setVisible(freeStyle);
        _paThumbnail->setVisible(!freeStyle);
    }
}

void LayoutController::selectVornBoxSheet(XmlStyleSheet& sheet)
{
    QWidget* own = sheetView(QStringLiteral("vornbox"));
    const QList<std::shared_ptr<XmlVornBox>> boxes = sheet.getVornBoxes();
    QWidget* kind = lq::viewWithTag(own, 1109);
    for (QWidget* control : {kind, _vornBoxPosition, static_cast<QWidget*>(_vornBoxTab)}) {
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
        _backgroundBox->setVisible(!box || box->type() != 3);
        _whichBorderLabel->hide();
        _whichBorderMatrix->hide();
        _propertiesButton->setChecked(false);
        _bordersButton->setChecked(true);
        return;
    }
    setButtonState(own, 1199, true);
    setButtonState(own, 1198, false);
    if (box)
        correctVornBoxUI(box);
}
