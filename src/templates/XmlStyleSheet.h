#pragma once

#include "model/site/PageTemplate.h"
#include "templates/XmlCSSBackground.h"

#include <QSet>
#include <QStringList>

#include <optional>
#include <vector>

class XmlVornBox;

// A page template: the page's background, the page geometry settings and,
// as its children, the page elements and fonts.
//
// The standard elements are found by name ("Content", "Masthead", "Photo
// Album", "Slideshow", "Page Title", "Navigation", "Footer"); after loading
// they stand at places 0 to 6 in that order, as far as the template has them.
//
// The template lays a page out for one page and one view, draws it on the
// layout canvas, answers the canvas's hit tests and keeps its Vorn Boxes.
// The view, the computed page extent, the edge names, the canvas bounds, the
// font bag and the current element name are working state, never stored
// (except the laid-out width, written as "wwp").
class XmlStyleSheet : public XmlCSSBackground, public PageTemplate {
public:
    explicit XmlStyleSheet(Key key);

    static std::shared_ptr<XmlStyleSheet> create();
    static XmlStyleSheet* cast(XmlBase* object) { return dynamic_cast<XmlStyleSheet*>(object); }

    QString elementName() const override;
    // Page elements (every kind of box) and fonts.
    bool canYouBeMyParent(XmlBase* child) override;
    // "primary" and "secondary" (comma-separated element names, read only),
    // then "tseq", "ticon", "custom", "pto", "plo", "mph", "wwp", "sbs",
    // "cph", "cpv", "ihs", "ivs", "hnv", "browserFlow" as integers.
    void setAttributeTo(const QString& key, const QString& value) override;
    // The background's attributes, then tseq ticon custom pto plo mph wwp sbs
    // cph cpv ihs ivs hnv browserFlow; wwp is the laid-out width.
    void appendAttributes(QString& xml) override;
    // Puts the standard elements in their places and applies the visibility
    // lists read with the template, then passes on.
    void postload() override;
    // Moves the first child named `name` to `index` (exchanging places with
    // the child there) and hides it in the views whose list does not name it.
    void forceElementToIndex(const QString& name, int index);

    // --- Numbering and chooser ------------------------------------------------------
    // The template's number in its theme; names its CSS file. No change notice.
    int templateSeqNum() const override { return _templateSeqNumber; }
    const XmlBase& templateElement() const override { return *this; }
    void setTemplateSeqNum(int number) { _templateSeqNumber = number; }
    int ticon() const { return _ticon; }
    void setTicon(int icon);
    int custom() const { return _custom; }
    void setCustom(int custom);
    // "theme.css" for template 0, else "theme<N>.css".
    QString filename() const;

    // --- Stored geometry; every setter marks the document changed -------------------
    int pageTopOffset() const { return _pageTopOffset; }
    void setPageTopOffset(int offset);
    int pageLeftOffset() const { return _pageLeftOffset; }
    void setPageLeftOffset(int offset);
    int pageMinHeight() const { return _pageMinHeight; }
    void setPageMinHeight(int height);
    // The width read from the file; the layout recomputes the page width.
    void setPageWidth(int width);
    int storedPageWidth() const { return _pageWidth; }
    int sidebarSide() const { return _sidebarSide; }
    void setSidebarSide(int side);
    bool centerHorz() const { return _centerHorz; }
    void setCenterHorz(bool center);
    bool centerVert() const { return _centerVert; }
    void setCenterVert(bool center);
    int verticalSpace() const { return _verticalSpace; }
    void setVerticalSpace(int space);
    int horizontalSpace() const { return _horizontalSpace; }
    void setHorizontalSpace(int space);
    bool hasNav() const { return _hasNav; }
    void setHasNav(bool hasNav);
    bool browserFlow() const { return _browserFlow; }
    void setBrowserFlow(bool flow);

    // --- Editor state; no change notices ----------------------------------------------
    bool showVornViews() const { return _showVornViews; }
    void setShowVornViews(bool show) { _showVornViews = show; }
    const QString& currentWidget() const { return _currentWidget; }
    void setCurrentWidget(const QString& name) { _currentWidget = name; }
    // YES when the bag already holds the style; otherwise adds it and answers NO.
    bool addFontBag(const QString& style);
    // Empties the font bag (at the start of a page's generation).
    void clearFontBag() { _fontBag.clear(); }

    // --- Results of the last layout ---------------------------------------------------
    int pageWidth() const { return _calcPageWidth; }
    int pageHeight() const { return _calcPageHeight; }
    int pageLeft() const { return _calcPageLeft; }
    int pageRight() const { return _calcPageRight; }
    const QString& leftEdgeElement() const { return _leftEdgeElement; }
    const QString& rightEdgeElement() const { return _rightEdgeElement; }
    // The template's extent on the layout canvas.
    lq::Rect objectRect() const override;
    // In the slideshow view only the slideshow can be hit: it notes which of
    // its controls lies under the point and is the answer wherever the point is.
    XmlCSSPtr objectAtPoint(const lq::Point& point) override;

    // --- View and elements --------------------------------------------------------------
    // The view being laid out or written (stored as 0 and 1 where a view is stored).
    enum class View : int { Page = 0, Slideshow = 1 };
    View view() const { return _page; }
    bool showsSlideshowView() const override { return _page == View::Slideshow; }
    // Chooses the view for the page (the slideshow only for an album page whose photo
    // album opens a slideshow page) and answers the number of enabled
    // elements that are not Vorn Boxes; nothing changes for no page.
    int setPageView(XmlBase* page, View view);
    // The names of the enabled elements of the page view, without the photo
    // album and the Vorn Boxes.
    QStringList visibleElements();
    // The first child whose name is the text, or nothing.
    XmlBasePtr getElementWithName(const QString& name) const;
    // In view 1, NO when the slideshow does not allow the page's picture.
    bool allowImageInBackground() override;

    // --- Vorn Boxes -------------------------------------------------------------------
    // The boxes are page elements, a layer above the template: the caller
    // names their class (XmlVornBox, the default), and the template keeps
    // them as layer boxes (XmlCSS::isLayerBox).
    template <class Box = XmlVornBox>
    QList<std::shared_ptr<Box>> getVornBoxes() const
    {
        return childrenOfType<Box>();
    }
    // A new Vorn Box appended as the last child, numbered from the theme.
    template <class Box = XmlVornBox>
    std::shared_ptr<Box> addVornBox()
    {
        return std::dynamic_pointer_cast<Box>(addLayerBox());
    }
    void deleteVornBox(XmlBase* box);
    // Exchange the box with the Vorn Box before / after it; nothing at the ends.
    void moveVornBoxUp(XmlBase* box);
    void moveVornBoxDown(XmlBase* box);

    // --- Layout and drawing -------------------------------------------------------------
    // Lays out the page (nothing: the current album), computing the page's
    // extent, its edge elements and the canvas bounds. A failure is logged
    // with the template's XML and goes no further.
    void relayoutFlags(XmlBase* page, int flags) override;
    // The canvas background under the page (every mode but the sliced one).
    void drawBackdrop(const lq::Rect& rect);
    // The sliced picture over the page (mode 6 only).
    void drawBackdrop2(const lq::Rect& rect);
    // Vorn Boxes of the background layer, boxes, Vorn Boxes of the middle
    // layer, the boxes' text, Vorn Boxes of the foreground layer.
    void draw() override;
    void drawVornsAtZindex(const QString& layer);
    // The guide rectangles of the visible elements, as rectangle strings.
    QStringList guideRectArray();
    // The elements the canvas may select in the current view.
    XmlBaseList selectableObjects();

    // --- Generation ---------------------------------------------------------------------
    // Appends the processor-script text of one page in one view (0 the page,
    // 1 its slideshow page): the step that writes the page file, then the
    // steps the page needs besides it. With flags other than 0 only the
    // page's HTML is appended. Nothing for a view the page does not have, or
    // when the document has no site. A page file name that would lead out of
    // the site's "homepage" folder is refused: nothing is written and the
    // refusal is logged.
    void genHTMLForPageViewHtmlFlags(XmlBase* page, int view, QString& html, int flags);
    // A page file kept out of the script text: the step that writes it would
    // stand at `at` in the script, with the attribute text and the file's text.
    struct PageFile {
        qsizetype at = 0;
        QString attributes;
        QString html;
    };
    // The same as genHTMLForPageViewHtmlFlags with flags 0, but the page
    // file's step is not written into the script: it is added to `files`, so
    // that the step can be made without writing and reading back its text.
    void genHTMLForPageViewPageFiles(XmlBase* page, int view, QString& script, std::vector<PageFile>& files);
    // Appends the step that writes the template's style sheet (filename),
    // then the steps that make the bitmaps its rules use.
    void genCSS(QString& css);
    // The content-language code of the publishing settings' language index
    // (1 to 34), or "" for none.
    static QString languageCode(int langcode);
    // True for a plain file name that stays inside the folder it is written to.
    static bool isPlainFileName(const QString& name);

protected:
    lq::Rect mybounds;
    View _page = View::Page;
    std::optional<QSet<QString>> _primaryPage;
    std::optional<QSet<QString>> _secondaryPage;
    int _templateSeqNumber = 0;
    int _ticon = 0;
    int _custom = 0;
    QString _currentWidget;
    int _pageTopOffset = 0;
    int _pageLeftOffset = 0;
    int _pageWidth = 800;
    int _pageMinHeight = 600;
    int _sidebarSide = 0;
    bool _centerHorz = false;
    bool _centerVert = false;
    int _calcPageWidth = 0;
    int _calcPageHeight = 0;
    int _calcPageLeft = 0;
    int _calcPageRight = 0;
    int _verticalSpace = 0;
    int _horizontalSpace = 0;
    bool _hasNav = true;
    bool _showVornViews = false;
    QSet<QString> _fontBag;
    QString _leftEdgeElement = QStringLiteral("");
    QString _rightEdgeElement = QStringLiteral("");
    bool _browserFlow = false;

private:
    void moveVornBox(XmlBase* box, int direction);
    // A new layer box made by the element factory, or nothing.
    XmlCSSPtr addLayerBox();
    void layoutPage(XmlBase* page, int flags);
    // The generation of both: the page file's step written into the script
    // without `files`, else handed to it.
    void genPageScript(XmlBase* page, int view, QString& script, int flags, std::vector<PageFile>* files);
};
