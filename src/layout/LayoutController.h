#pragma once

#include "document/LayoutControllerBase.h"
#include "model/core/XmlBase.h"

#include <QObject>
#include <QPointer>
#include <QStringList>

#include <map>
#include <memory>

class MyDocument;
class MyDocumentWindow;
class MyOutlineView;
class MyPopUpButton;
class MyScrollView;
class MyTabView;
class QAbstractButton;
class QLabel;
class QZLayoutView;
class TemplateListSource;
class XmlAlbum;
class XmlBoxModel;
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
// The inspector's sheet contents and actions, the element tables, the
// direct manipulation on the canvas and the compact arrangement come later;
// their entry points (setSelectedObject, albumOptionsSet, correctVornBoxUI,
// moveSelectedObject, compactUI) are the members they will fill.
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

    // --- Entry points of the inspector, the element tables and direct manipulation ------------
    // Each is filled by the part of the editor it belongs to.
    virtual void setSelectedObject(XmlBoxModel* element);
    virtual void albumOptionsSet();
    virtual void correctVornBoxUI(XmlVornBox* box);
    virtual void moveSelectedObject(XmlBoxModel* element);
    void compactUI(bool compact) override;

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

    bool _tabfalsealarm = false;
    bool _borderMode = false;
    int _navigationbbtab = 0;
    QString _currentAlbum;
    QString _currentTemplate;
    int _globalIndex = -1;
    QStringList _visibleElements;
    int _numberElements = 0;
};
