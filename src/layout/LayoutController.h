#pragma once

#include "document/LayoutControllerBase.h"
#include "model/core/XmlBase.h"

#include <QObject>
#include <QPair>
#include <QPointer>
#include <QStringList>
#include <QVariant>

#include <map>
#include <memory>
#include <vector>

class CautionTape;
class ElementTableSource;
class MyButton;
class MyDocument;
class MyDocumentWindow;
class MyOutlineView;
class MyPopUpButton;
class MyScrollView;
class MyTabView;
class MyTableView;
class QAbstractButton;
class QLabel;
class QZLayoutView;
class TemplateListSource;
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
// It is the canvas's delegate: it commits the rectangles the canvas moves
// and sizes elements to, shows their geometry in the sheets, opens the
// content of a Control-clicked element and passes the page elements' click
// areas and redisplay requests on. It answers the element tables of the
// inspector (which elements a template shows on its pages and in its
// slideshow view, and its Vorn Boxes), and it hides and shows the tools
// (the compact arrangement), with a caution tape under the canvas while the
// template is shared by several pages.
//
// The inspector's sheet contents and actions come later; their entry points
// (the rest of setSelectedObject, albumOptionsSet, correctVornBoxUI) are the
// members they will fill.
class LayoutController : public QObject, public LayoutControllerBase {
    Q_OBJECT
public:
    explicit LayoutController(MyDocumentWindow& window);
    ~LayoutController() override;

    // Every document window made from now on gets a layout controller.
    static void install();

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
    // The one-line hint for the page being designed.
    void displayStatusString();
    // Fills both page pop-ups with the site's pages, the current one selected.
    void fillWebPages();
    // Page navigation: the pop-up's page, the default album, the next and
    // the previous page (both wrapping; previous first leaves a picture preview).
    void selectPage(MyPopUpButton* sender);
    void homePage();
    void nextPage();
    void prevPage();
    // A copy of the current template, named after the page, becomes the page's template.
    void addTemplate();
    // The template chosen in the list becomes the page's template.
    void templateSelector();
    // Templates never open in the list; other elements open when they can have children.
    bool outlineViewIsItemExpandable(XmlBase* item) const;

    // --- The template's elements ---------------------------------------------------------------
    // The enabled children of the template, counted in order.
    XmlBasePtr getElementAtIndex(int index);
    int getIndexForElement(XmlBase* element);
    bool getVisibilityOfElementAtIndex(int index);
    void setVisibilityOfElementAtIndexVisible(int index, bool visible);
    const QStringList& visibleElements() const { return _visibleElements; }
    int numberElements() const { return _numberElements; }

    // --- Sheets -----------------------------------------------------------------------------------
    // Rebuilds the inspector's sheets for the template.
    void removeAllTabs();
    // A sheet (or a sheet's inner tab) was chosen.
    void tabViewDidSelectTabViewItem(MyTabView* tabs, const QString& identifier);
    bool borderMode() const { return _borderMode; }
    void setBorderMode(bool on) { _borderMode = on; }

    // --- The canvas's delegate -------------------------------------------------------------------
    // The canvas selected the element (nothing: the page). The canvas gets
    // the guide rectangles of the template's other elements, and the
    // element's sheet shows its position and size; the rest of the inspector
    // follows with the sheets' contents.
    virtual void setSelectedObject(XmlBoxModel* element);
    // Shows the element's position and size in its sheet's fields.
    virtual void moveSelectedObject(XmlBoxModel* element);
    // Gives the element the rectangle the canvas proposes, as one change of
    // the document, and answers where the element actually went.
    virtual lq::Rect willMoveObjectRect(XmlCSS* element, const lq::Rect& rect);
    // A Control-click on the canvas: the element (a photo of an album, say)
    // becomes the window's current object and the content editor opens; the
    // canvas keeps its selection.
    virtual void doubleClickedObject(XmlBase* element);

    // --- The element tables -----------------------------------------------------------------------
    // The data source of every table of the inspector, asked with the table:
    // editElementList (the template's elements and whether each shows on the
    // page), slideElementList (the elements of the slideshow view and whether
    // each shows there), VornBoxList (the Vorn Boxes: on the page, in the
    // slideshow view, name) and any other table (the element names). Columns
    // go by identifier: "main", "slideshow", "name", "visible".
    int numberOfRowsInTableView(const MyTableView* table);
    QVariant tableViewObjectValueForTableColumnRow(const MyTableView* table, const QString& column, int row);
    void tableViewSetObjectValueForTableColumnRow(const MyTableView* table, const QVariant& value, const QString& column, int row);
    bool tableViewShouldEditTableColumnRow(const MyTableView* table, const QString& column, int row);
    MyTableView* editElementList() const { return _editElementList; }
    MyTableView* slideElementList() const { return _slideElementList; }
    MyTableView* vornBoxList() const { return _vornBoxList; }
    const QStringList& elementNames() const { return _elementNames; }

    // --- Entry points of the inspector ----------------------------------------------------------------
    // Each is filled by the part of the editor it belongs to.
    virtual void albumOptionsSet();
    virtual void correctVornBoxUI(XmlVornBox* box);

    // --- Compact arrangement ----------------------------------------------------------------------------
    // Hides or shows the tools as the compact button says (the argument is
    // the caller's and decides nothing) and shows the caution tape under the
    // canvas while two or more pages use the template; the canvas gives the
    // tape its place and keeps its top edge.
    void compactUI(bool compact) override;
    MyButton* compactButton() const { return _compact; }
    CautionTape* cautionTape() const { return _cautionTape; }

    // --- Views ----------------------------------------------------------------------------------------
    QZLayoutView* layoutView() const { return _layoutView; }
    MyScrollView* scrollLayoutView() const { return _scrollLayoutView; }
    MyScrollView* scrollBrowserView() const { return _scrollBrowserView; }
    MyTabView* tabview() const { return _tabview; }
    MyTabView* payPalTabView() const { return _payPalTabView; }
    // The sheet's own view (the one it was made with).
    QWidget* sheetView(const QString& identifier) const;
    QWidget* bordersTabView() const { return _bordersTabView; }
    QWidget* backgroundBox() const { return _backgroundBox; }
    MyPopUpButton* webPage() const { return _webPage; }
    MyPopUpButton* webPage2() const { return _webPage2; }
    QLabel* statusLine() const { return _statusLine; }
    MyOutlineView* templateList() const { return _templateList; }
    QWidget* layoutPage() const { return _layoutPage; }
    QWidget* previewPage() const { return _previewPage; }
    // The inspector and the guide controls, hidden in the compact arrangement.
    QWidget* tools() const { return _tools; }

    MyDocumentWindow& window() const { return _window; }
    MyDocument& document() const;

private:
    // Building the views (LayoutControllerViews.cpp).
    void buildLayoutPage();
    void buildPreviewPage();
    QWidget* buildPageControls(MyPopUpButton* pages);
    QWidget* buildGuideControls();
    void buildSheets();
    QWidget* buildElementSheet(int hundreds, const QString& title);
    void addGeometryFields(QWidget* sheet, const QString& identifier);
    // The table, made with the holder as its parent, gets its data source
    // and the columns (identifier and title) and goes into the holder's layout.
    void setUpElementTable(MyTableView* table, QWidget* holder, const QList<QPair<QString, QString>>& columns);
    // The element's position and size in its sheet's fields.
    void showGeometryOf(XmlBoxModel* element);
    void reloadElementTables();

    std::shared_ptr<XmlStyleSheet> currentTemplate() const;
    // Makes the template the shown one: the new one holds its pictures and
    // runs its animations, the old one lets them go.
    void switchTemplate(XmlStyleSheet* from, XmlStyleSheet* to, bool differ);
    void selectTemplateInList(XmlStyleSheet* sheet);
    void showPageAt(int index);
    int selectedPageIndex() const;
    void relayoutShown(XmlStyleSheet& sheet, XmlAlbum* page, bool slideshowView);
    void selectSheetElement(const QString& identifier, XmlStyleSheet& sheet, XmlAlbum* page);
    void selectVornBoxSheet(XmlStyleSheet& sheet);
    void giveSheetsTheirViews();

    MyDocumentWindow& _window;

    QPointer<QWidget> _layoutPage;
    QPointer<QWidget> _previewPage;
    QZLayoutView* _layoutView = nullptr;
    MyScrollView* _scrollLayoutView = nullptr;
    MyScrollView* _scrollBrowserView = nullptr;
    MyPopUpButton* _webPage = nullptr;
    MyPopUpButton* _webPage2 = nullptr;
    QLabel* _statusLine = nullptr;
    QWidget* _backgroundBox = nullptr;
    MyTabView* _tabview = nullptr;
    MyTabView* _payPalTabView = nullptr;
    QWidget* _bordersTabView = nullptr;
    QWidget* _sheetHolder = nullptr;
    std::map<QString, QPointer<QWidget>> _sheetViews;
    QWidget* _slideVisible = nullptr;
    QWidget* _paThumbnail = nullptr;
    QWidget* _paFreeStyle = nullptr;
    QWidget* _vornBoxPosition = nullptr;
    QWidget* _vornBoxTab = nullptr;
    QAbstractButton* _propertiesButton = nullptr;
    QAbstractButton* _bordersButton = nullptr;
    QWidget* _whichBorderLabel = nullptr;
    QWidget* _whichBorderMatrix = nullptr;
    QAbstractButton* _whichBorderOption1 = nullptr;
    QAbstractButton* _whichBorderOption2 = nullptr;
    MyOutlineView* _templateList = nullptr;
    std::unique_ptr<TemplateListSource> _templateSource;
    MyTableView* _editElementList = nullptr;
    MyTableView* _slideElementList = nullptr;
    MyTableView* _vornBoxList = nullptr;
    std::vector<std::unique_ptr<ElementTableSource>> _tableSources;
    QStringList _elementNames;
    MyButton* _compact = nullptr;
    CautionTape* _cautionTape = nullptr;
    QWidget* _tools = nullptr;
    QWidget* _guideBar = nullptr;

    bool _tabfalsealarm = false;
    bool _borderMode = false;
    int _navigationbbtab = 0;
    QString _currentAlbum;
    QString _currentTemplate;
    int _globalIndex = -1;
    QStringList _visibleElements;
    int _numberElements = 0;
};
