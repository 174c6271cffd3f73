#pragma once

#include "document/LayoutControllerBase.h"
#include "model/core/XmlBase.h"

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QWidget>

#include <map>
#include <memory>

class AlbumDialogs;
class BorderPanel;
class BoxSheet;
class CanvasController;
class ContentSheet;
class ElementTables;
class FooterSheet;
class MyDocument;
class MyDocumentWindow;
class MyIntegerField;
class MyOutlineView;
class MyTabView;
class NavigationSheet;
class PageNavigation;
class PageSheet;
class PayPalSheet;
class PhotoAlbumSheet;
class QZLayoutView;
class SlideshowSheet;
class TemplateSelector;
class VornBoxSheet;
class XmlAlbum;
class XmlBoxModel;
class XmlCSS;
class XmlStyleSheet;
class XmlVornBox;

// The controller of the document window's "layout" and "preview" tabs. It
// knows which page of the site is being designed and which template that
// page uses (both kept as UUIDs and looked up at every use, so a deleted
// element simply stops resolving), keeps the canvas pointed at that pair,
// builds the inspector's sheets that fit the template, switches the canvas
// between layout mode and preview (test) mode, moves between pages and
// offers the template selector.
//
// One per document window, made when the window is set up. It puts its two
// tab pages in the window's "layout" and "preview" tabs: the canvas in the
// scroll view with rulers beside the inspector for "layout", the same
// canvas in the scroll view without rulers for "preview".
//
// It coordinates: one class per inspector sheet builds, fills and applies
// its own controls (PageSheet, NavigationSheet, VornBoxSheet, BorderPanel
// …), the canvas controller holds the canvas's scroll views, guides and
// compact arrangement, the template selector the template list, the page
// navigation the page pop-ups, and the element tables answer the
// inspector's tables. It is the canvas's delegate and passes what the
// canvas and the page elements ask (moves, geometry, a Control-click's
// content, click areas, redisplay requests) on to them.
//
// The inspector follows the canvas's selection: setSelectedObject resolves
// the selection, brings the element's sheet to the front and has it load
// every control from the model (each control is found by its tag in the
// sheet's view), with the border and background panel (setBandB) and, for
// the photo album, the slideshow and PayPal sheets, albumOptionsSet.
// Filling never sends a control's action: what a control changes goes to
// action (the sheets' controls), action3 (the border panel's) or action2
// (the Properties and Borders buttons), which resolve the selection afresh
// and hand the control's tag to the sheet that owns it.
class LayoutController : public QObject, public LayoutControllerBase {
    Q_OBJECT
public:
    explicit LayoutController(MyDocumentWindow& window);
    ~LayoutController() override;

    // --- What the document and the window ask (LayoutControllerBase) --------------------------
    void addTrackingDataForObjectDataRect(const QString& uuid, const QString& data, const lq::Rect& rect) override;
    void clearTrackingDataForObject(const QString& uuid) override;
    void clearTrackingData() override;
    // Repaints the canvas and refreshes the status line.
    void redisplayRect(const lq::Rect& rect) override;
    lq::PreviewView* getWidgetView(int number) override;
    int globalIndex() const override { return _globalIndex; }
    void setGlobalIndex(int index) override { _globalIndex = index; }
    void setPreviewPageIndex(const QString& page, int index) override;
    void activateTab(bool testMode) override;
    void saveEdits() override;
    void refreshEditor() override;
    void layoutViewSelectedObjectRefresh() override;
    void updateTemplateSelector() override;
    void enableRTL(int flag) override;
    std::shared_ptr<XmlStyleSheet> getTemplate() override;

    // --- Pages and templates ----------------------------------------------------------------
    // The page being designed, or nothing.
    std::shared_ptr<XmlAlbum> getAlbum();
    // Gives the page (UUID) the template (UUID) and shows it.
    void setPageWithTemplate(const QString& page, const QString& sheet);
    // Lays the current page out again and refits the canvas.
    void relayoutSheet();

    // --- Sheets -----------------------------------------------------------------------------------
    // Rebuilds the inspector's sheets for the template.
    void removeAllTabs();
    // A sheet (or a sheet's inner tab) was chosen.
    void tabViewDidSelectTabViewItem(MyTabView* tabs, const QString& identifier);
    bool borderMode() const { return _borderMode; }
    void setBorderMode(bool on) { _borderMode = on; }

    // --- The canvas's delegate -------------------------------------------------------------------
    // The canvas selected the element (nothing: the page template). The
    // canvas gets the guide rectangles of the template's other elements; a
    // new selection lets go of the colour wells, lays the template out again
    // and brings the element's sheet to the front; then the sheet shows the
    // element: its position and size, its borders and background and its own
    // settings. Selecting the same element again only reloads its sheet, on
    // whichever sheet the user is.
    virtual void setSelectedObject(XmlBoxModel* element);
    // UUID of the selected element, "" for none.
    const QString& currentSelectedObject() const { return _currentSelectedObject; }
    // UUID of the page being laid out, "" for none.
    const QString& currentAlbum() const { return _currentAlbum; }
    // The template the layout shows.
    std::shared_ptr<XmlStyleSheet> currentTemplate() const;
    // Shows the element's position and size in its sheet's fields.
    virtual void moveSelectedObject(XmlBoxModel* element);
    // Gives the element the rectangle the canvas proposes, as one change of
    // the document, and answers where the element actually went.
    virtual lq::Rect willMoveObjectRect(XmlCSS* element, const lq::Rect& rect);
    // A Control-click on the canvas: the element (a photo of an album, say)
    // becomes the window's current object and the content editor opens; the
    // canvas keeps its selection.
    virtual void doubleClickedObject(XmlBase* element);

    // --- The inspector ----------------------------------------------------------------------------------
    // Loads the border and background panel from the element: the element
    // itself, or for a menu its items, for a photo album or a slideshow its
    // picture frame, as the part selector says. Nothing for nothing.
    void setBandB(XmlBoxModel* element);
    // Fills the PayPal sheet from the template's photo album and adds or
    // removes the slideshow sheet: it belongs while the album shows photos
    // of an album page and a click on them plays a slideshow.
    virtual void albumOptionsSet();
    // Fits the Vorn Box sheet to the box's kind.
    virtual void correctVornBoxUI(XmlVornBox* box);

    // What the controls send; the sender is the control (for a number, its
    // field, the stepper having given it its value).
    // A control of an element sheet, the page's picture well (112), the
    // menu's rollover wells (360 to 363) or the PayPal button's well (1205).
    virtual void action(QWidget* sender);
    // A Properties or Borders button (N99, N98).
    virtual void action2(QWidget* sender);
    // A control of the border and background panel, its picture well (622)
    // or the Vorn Box's picture well (1130).
    virtual void action3(QWidget* sender);
    // Each keystroke in a label field of the slideshow sheet (915 to 919).
    virtual void textChange(QWidget* sender);
    // Each edit of a text view of the sheets: the footer's and the Vorn
    // Box's snippets and the PayPal button's HTML and caption templates.
    virtual void textDidChange(QWidget* view);
    // A number field of the sheets refused its text (the reason is the
    // field's): after 0.2 s the field shows the stepper's value, or the
    // limit the text passed, and after 0.3 s it sends its action again
    // (action, or action3 for a field of the border panel), so the corrected
    // number reaches the model. Both steps are dropped when
    // another element is selected meanwhile. Always answers true.
    bool controlDidFailToFormatStringErrorDescription(MyIntegerField* field, const QString& text, const QString& error);

    // The inspector's control of the tag, in the view its hundreds name
    // (1xx page, 2xx masthead, 3xx navigation, 4xx content, 5xx photo album,
    // 6xx the border panel, 7xx footer, 8xx page title, 9xx slideshow, 11xx
    // Vorn Box, 12xx PayPal), whether its sheet is shown or not.
    QWidget* controlWithTag(int tag) const;

    // --- Compact arrangement ----------------------------------------------------------------------------
    // Hides or shows the tools as the compact button says (the argument is
    // the caller's and decides nothing) and shows the caution tape under the
    // canvas while two or more pages use the template; the canvas gives the
    // tape its place and keeps its top edge.
    void compactUI(bool compact) override;

    // --- Views ----------------------------------------------------------------------------------------
    QZLayoutView* layoutView() const { return _layoutView; }
    MyTabView* tabview() const { return _tabview; }
    // Shows or hides the sheet's tab (last among the tabs); adding it
    // chooses nothing.
    void showSheetTab(const QString& identifier, bool shown);
    // The sheet's own view (the one it was made with).
    QWidget* sheetView(const QString& identifier) const;
    QWidget* bordersTabView() const { return _bordersTabView; }
    MyOutlineView* templateList() const;
    QWidget* layoutPage() const { return _layoutPage; }
    QWidget* previewPage() const { return _previewPage; }

    // What it coordinates: the sheets, each building, filling and applying
    // its own controls, the template selector, the element tables, the
    // canvas controller and the page controls.
    NavigationSheet& navigationSheet() const { return *_navigationSheet; }
    PhotoAlbumSheet& photoAlbumSheet() const { return *_photoAlbumSheet; }
    AlbumDialogs& albumDialogs() const { return *_albumDialogs; }
    PayPalSheet& payPalSheet() const { return *_payPalSheet; }
    VornBoxSheet& vornBoxSheet() const { return *_vornBoxSheet; }
    BorderPanel& borderPanel() const { return *_borderPanel; }
    TemplateSelector& templateSelector() const { return *_templateSelector; }
    ElementTables& elementTables() const { return *_elementTables; }
    CanvasController& canvasController() const { return *_canvas; }
    PageNavigation& pageNavigation() const { return *_pages; }

    MyDocumentWindow& window() const { return _window; }
    MyDocument& document() const;

private:
    // Building the views (LayoutControllerViews.cpp).
    void buildLayoutPage();
    void buildPreviewPage();
    void buildSheets();

    // Writing the model back (LayoutControllerActions.cpp): a control's tag
    // goes to the sheet that owns it, whose apply answers whether the end
    // steps of action follow.
    // The start of action and action3: the number controls paired, the
    // selection repainted; answers the selection, held for the whole action
    // (a setter may let the template drop it).
    XmlBasePtr beginAction(QWidget* sender);
    bool applyAction(QWidget* sender, int tag, XmlStyleSheet& sheet, XmlBoxModel* element);
    // The element laid out again for the page, the canvas refitted to it.
    void finishAction(XmlBoxModel* element);
    // Every number field under the view reports its refusals to the controller.
    void watchNumberFields(QWidget* view);

    // The element's sheet filled from it (LayoutControllerInspector.cpp).
    void fillSheet(XmlBoxModel* element, XmlStyleSheet& sheet);

    // Makes the template the shown one: the new one holds its pictures and
    // runs its animations, the old one lets them go.
    void switchTemplate(XmlStyleSheet* from, XmlStyleSheet* to, bool differ);
    void selectSheetElement(const QString& identifier, XmlStyleSheet& sheet, XmlAlbum* page);
    void selectVornBoxSheet(XmlStyleSheet& sheet);
    void giveSheetsTheirViews();

    MyDocumentWindow& _window;
    std::unique_ptr<PageSheet> _pageSheet;
    std::unique_ptr<BoxSheet> _boxSheet;
    std::unique_ptr<FooterSheet> _footerSheet;
    std::unique_ptr<ContentSheet> _contentSheet;
    std::unique_ptr<NavigationSheet> _navigationSheet;
    std::unique_ptr<PhotoAlbumSheet> _photoAlbumSheet;
    std::unique_ptr<AlbumDialogs> _albumDialogs;
    std::unique_ptr<SlideshowSheet> _slideshowSheet;
    std::unique_ptr<PayPalSheet> _payPalSheet;
    std::unique_ptr<VornBoxSheet> _vornBoxSheet;
    std::unique_ptr<BorderPanel> _borderPanel;
    std::unique_ptr<TemplateSelector> _templateSelector;
    std::unique_ptr<ElementTables> _elementTables;
    std::unique_ptr<CanvasController> _canvas;
    std::unique_ptr<PageNavigation> _pages;

    QPointer<QWidget> _layoutPage;
    QPointer<QWidget> _previewPage;
    QZLayoutView* _layoutView = nullptr;
    MyTabView* _tabview = nullptr;
    QWidget* _bordersTabView = nullptr;
    QWidget* _sheetHolder = nullptr;
    std::map<QString, QPointer<QWidget>> _sheetViews;

    bool _tabfalsealarm = false;
    bool _borderMode = false;
    QString _currentAlbum;
    QString _currentTemplate;
    int _globalIndex = -1;
    QString _currentSelectedObject;
};
