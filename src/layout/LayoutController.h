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
class ImageWell;
struct InspectorFontTags;
class MyButton;
class MyMatrix;
class MyDocument;
class MyDocumentWindow;
class MyIntegerField;
class MyOutlineView;
class MyPopUpButton;
class MyScrollView;
class MyTabView;
class MyTableView;
class MyTextView;
class QAbstractButton;
class QLabel;
class QDialog;
class QScrollArea;
class CollageThumb;
class EasyLink2;
class QZTextEditor;
class QZLayoutView;
class SheetBuilder;
class TemplateListSource;
class XmlAlbum;
class XmlBoxModel;
class XmlCSS;
class XmlSlideshow;
class XmlStyleSheet;
class XmlVornBox;
class XmlWebBox;
class XmlWebContent;
class XmlWebFont;
class XmlWebFooter;
class XmlWebMenu;
class XmlWebPhotoAlbum;

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
// The inspector follows the canvas's selection: setSelectedObject brings the
// element's sheet to the front and loads every control of it from the model
// (each control is found by its tag in the sheet's view), with the border
// and background panel (setBandB) and, for the photo album, the slideshow
// and PayPal sheets, albumOptionsSet. Filling never sends a control's
// action: what a control changes goes to action (the sheets' controls),
// action3 (the border panel's) or action2 (the Properties and Borders
// buttons), which write the model back.
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
    // The sheets that remove unused templates and copy parts of the chosen
    // template into others; the list shows the theme afterwards.
    void deleteTemplates();
    void copyElements();
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

    // --- The photo album's dialogs (LayoutControllerAlbumDialogs.cpp) ----------------------------
    // The thumbnail size dialog, run as a sheet on the window: OK writes
    // the width, height and sizing rule into the album, Cancel nothing.
    void changeThumbnailSize(XmlWebPhotoAlbum* album);
    // The collage dialog with its live miniature: Done writes the
    // miniature's collage string into the album (numbers typed and not yet
    // committed count), Cancel nothing.
    void changeCollageSettings(XmlWebPhotoAlbum* album);
    // A control of the collage dialog changed the miniature.
    void collageAction(QWidget* sender);
    // The dialogs while they are up (for whoever plays the user), else nothing.
    QDialog* thumbnailWindow() const { return _thumbnailWindow; }
    QDialog* collageWindow() const { return _collageWindow; }
    CollageThumb* collageMiniView() const { return _collageMiniView; }

    // --- The Vorn Box sheet (LayoutControllerVornBox.cpp) ---------------------------------------
    // The rich-text editor wrote its text: it goes into the selected box.
    void liveUpdate();
    // The pickers beside fields 1120 (a file of the site), 1126 (a link)
    // and 1128 (a file of the site): the choice goes into the field and the box.
    void vornEasyLink();
    void vornClickTo();
    void vornRollOver();
    QZTextEditor* vornBoxText() const { return _vornBoxText; }
    MyTextView* htmlSnippetEditor() const { return _htmlSnippetEditor; }
    // The one-element chooser of the two file pickers.
    EasyLink2& easyLink2();

    // Which part of a menu, a photo album or a slideshow the border panel
    // edits: 1 the element's own box, anything else its menu items or its
    // picture frame.
    int navigationbbtab() const { return _navigationbbtab; }
    void setNavigationbbtab(int part) { _navigationbbtab = part; }
    int photoalbumbbtab() const { return _photoalbumbbtab; }
    void setPhotoalbumbbtab(int part) { _photoalbumbbtab = part; }
    int slideshowbbtab() const { return _slideshowbbtab; }
    void setSlideshowbbtab(int part) { _slideshowbbtab = part; }

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
    // The border and background panel inside it; the background controls
    // are in the background box.
    QWidget* bbView() const { return _bbView; }
    QWidget* backgroundBox() const { return _backgroundBox; }
    MyMatrix* whichBorderMatrix() const { return _whichBorderMatrix; }
    QWidget* whichBorderLabel() const { return _whichBorderLabel; }
    QAbstractButton* propertiesButton() const { return _propertiesButton; }
    QAbstractButton* bordersButton() const { return _bordersButton; }
    MyTabView* menuBkgndTabView() const { return _menuBkgndTabView; }
    MyTabView* vornBoxTab() const { return _vornBoxTab; }
    MyTabView* vornBoxExternalTab() const { return _vornBoxExternalTab; }
    QWidget* vornBoxPosition() const { return _vornBoxPosition; }
    QWidget* slideVisible() const { return _slideVisible; }
    QWidget* paOptions() const { return _paOptions; }
    QWidget* paThumbnail() const { return _paThumbnail; }
    QWidget* paFreeStyle() const { return _paFreeStyle; }
    MyTextView* footerSnippetEditor() const { return _footerSnippetEditor; }
    MyTextView* payPalHTML() const { return _payPalHTML; }
    MyTextView* payPalThumbnail() const { return _payPalThumbnail; }
    MyTextView* payPalSlideshow() const { return _payPalSlideshow; }
    ImageWell* pageImageWell() const { return _pageImageWell; }
    ImageWell* borderImageWell() const { return _borderImageWell; }
    ImageWell* vornImageWell() const { return _vornImageWell; }
    ImageWell* payPalImageWell() const { return _payPalImageWell; }
    // The menu's rollover wells: current, normal, hover and click.
    ImageWell* rolloverWell(int state) const { return _rolloverWells[state]; }
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
    // The sheets' views (LayoutControllerSheets.cpp, LayoutControllerAlbumSheets.cpp).
    // A builder whose controls send the action.
    SheetBuilder sheetBuilder(QWidget* body);
    SheetBuilder panelBuilder(QWidget* body);
    // The scroll view that shows the body of a sheet.
    static QScrollArea* scrollingSheet(QWidget* body);
    // The body of an element sheet with its title and its Properties (N99)
    // and Borders (N98) buttons.
    QWidget* buildElementSheet(int hundreds, const QString& title);
    void addGeometryFields(QWidget* sheet, const QString& identifier);
    // The rows of one font of a sheet.
    void addFontRows(SheetBuilder& rows, const InspectorFontTags& tags);
    QWidget* buildPageSheet();
    QWidget* buildBoxSheet(int hundreds, const QString& title);
    QWidget* buildFooterSheet();
    QWidget* buildNavigationSheet();
    QWidget* buildContentSheet();
    QWidget* buildVornBoxSheet();
    QWidget* buildVornExternalPage();
    QWidget* buildVornTextPage();
    QWidget* buildPhotoAlbumSheet();
    QWidget* buildSlideshowSheet();
    QWidget* buildPayPalSheet();
    QWidget* buildBorderPanel();
    ImageWell* makeImageWell(int tag, bool borderPanel);
    // The table, made with the holder as its parent, gets its data source
    // and the columns (identifier and title) and goes into the holder's layout.
    void setUpElementTable(MyTableView* table, QWidget* holder, const QList<QPair<QString, QString>>& columns);
    // The element's position and size in its sheet's fields.
    void showGeometryOf(XmlBoxModel* element);
    void reloadElementTables();

    // Writing the model back (LayoutControllerActions.cpp). Each apply
    // answers whether the end steps of action follow.
    void pairNumberControls(QWidget* sender);
    // The start of action and action3: the number controls paired, the
    // selection repainted; answers the selection, held for the whole action
    // (a setter may let the template drop it).
    XmlBasePtr beginAction(QWidget* sender);
    bool applyAction(QWidget* sender, int tag, XmlStyleSheet& sheet, XmlBoxModel* element);
    bool applyPageAction(QWidget* sender, int tag, XmlStyleSheet& sheet);
    bool applyNavigationAction(QWidget* sender, int tag, XmlWebMenu* menu);
    bool applyPhotoAlbumAction(QWidget* sender, int tag, XmlStyleSheet& sheet, XmlWebPhotoAlbum* album);
    void applyFooterAction(QWidget* sender, int tag, XmlWebFooter* footer);
    bool applySlideshowAction(QWidget* sender, int tag, XmlStyleSheet& sheet, XmlSlideshow* slideshow);
    void applyPayPalAction(QWidget* sender, int tag, XmlStyleSheet& sheet);
    void applyBorderAction(QWidget* sender, int tag, XmlBoxModel& element);
    // The standard button's size for the album's cart, then the PayPal sheet refilled.
    void sizePayPalButton(XmlWebPhotoAlbum& album);
    // The element laid out again for the page, the canvas refitted to it.
    void finishAction(XmlBoxModel* element);
    // The template laid out again (for the current page, or none) and the canvas redrawn.
    void relayoutTemplate(XmlStyleSheet& sheet, bool withPage);
    // Every number field under the view reports its refusals to the controller.
    void watchNumberFields(QWidget* view);
    // The Vorn Box sheet's rows (LayoutControllerVornBox.cpp).
    void applyVornBoxAction(QWidget* sender, int tag, XmlStyleSheet& sheet, XmlVornBox* box);
    void applyVornBoxText(int tag, const QString& text, XmlVornBox& box);
    void vornBoxListAction(int tag);
    void showVornBoxControls(bool shown);
    // The file picker for the field: the site's file the field names preselected.
    void pickSiteFile(int fieldTag);
    // The collage dialog's controls shown from the miniature.
    void showCollageParameters();

    // Filling the sheets (LayoutControllerInspector.cpp, LayoutControllerAlbumOptions.cpp).
    // The sheet that shows the element, "" for an element no sheet shows.
    static QString sheetOf(XmlBoxModel* element);
    void deactivateColorWells();
    void selectElementListRow(XmlBoxModel* element);
    void fillSheet(XmlBoxModel* element, XmlStyleSheet& sheet);
    void showFont(QWidget* view, const XmlWebFont* font, const InspectorFontTags& tags);
    void fillPageSheet(XmlStyleSheet& sheet);
    void fillNavigationSheet(XmlWebMenu& menu);
    void fillBoxSheet(XmlWebBox& box);
    void fillFooterSheet(XmlWebFooter& footer);
    void fillVornBoxSheet(XmlVornBox& box);
    void fillContentSheet(XmlWebContent& content, XmlStyleSheet& sheet);
    void fillPhotoAlbumSheet(XmlWebPhotoAlbum& album);
    void fillSlideshowSheet(XmlSlideshow& slideshow);
    void fillPayPalSheet(XmlWebPhotoAlbum& album);
    void placeSlideshowSheet(XmlWebPhotoAlbum& album, XmlAlbum& page);
    // The controls that show or change with another value; the actions that
    // change that value show them the same way.
    // The slice heights of the page, shown only for a sliced background (6).
    void showSliceControls(XmlStyleSheet& sheet);
    // The item width of a menu, shown for fixed-width items (orientation 2).
    void showItemWidthControls(XmlWebMenu& menu);
    // The album's thumbnail or free-style options, and its width and height
    // fields as width and height (free style) or columns and rows (grid).
    void showAlbumLayout(XmlWebPhotoAlbum& album);
    // The playing controls or the before-and-after ones, by the slideshow's style.
    void showSlideshowStyle(XmlSlideshow& slideshow);
    // The border panel's transparency and picture position controls for a
    // background kind.
    void showBackgroundControls(int kind);

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
    QWidget* _bbView = nullptr;
    QWidget* _sheetHolder = nullptr;
    std::map<QString, QPointer<QWidget>> _sheetViews;
    QWidget* _slideVisible = nullptr;
    QWidget* _paOptions = nullptr;
    QWidget* _paThumbnail = nullptr;
    QWidget* _paFreeStyle = nullptr;
    QWidget* _vornBoxPosition = nullptr;
    QZTextEditor* _vornBoxText = nullptr;
    MyTextView* _htmlSnippetEditor = nullptr;
    MyTabView* _vornBoxExternalTab = nullptr;
    EasyLink2* _easyLink2 = nullptr;
    // The dialogs' views while they are up.
    QDialog* _thumbnailWindow = nullptr;
    QDialog* _collageWindow = nullptr;
    CollageThumb* _collageMiniView = nullptr;
    QWidget* _photoCollage = nullptr;
    MyTabView* _vornBoxTab = nullptr;
    MyTabView* _menuBkgndTabView = nullptr;
    MyTextView* _footerSnippetEditor = nullptr;
    MyTextView* _payPalHTML = nullptr;
    MyTextView* _payPalThumbnail = nullptr;
    MyTextView* _payPalSlideshow = nullptr;
    ImageWell* _pageImageWell = nullptr;
    ImageWell* _borderImageWell = nullptr;
    ImageWell* _vornImageWell = nullptr;
    ImageWell* _payPalImageWell = nullptr;
    ImageWell* _rolloverWells[4] = {};
    QAbstractButton* _propertiesButton = nullptr;
    QAbstractButton* _bordersButton = nullptr;
    QWidget* _whichBorderLabel = nullptr;
    MyMatrix* _whichBorderMatrix = nullptr;
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
    // The Vorn Box's text is being loaded into its editor: no live update.
    bool _loadingVornText = false;
    int _navigationbbtab = 0;
    int _photoalbumbbtab = 0;
    int _slideshowbbtab = 0;
    QString _currentAlbum;
    QString _currentTemplate;
    int _globalIndex = -1;
    QString _currentSelectedObject;
    QStringList _visibleElements;
    int _numberElements = 0;
};
