#pragma once

#include "model/core/XmlBase.h"
#include "templates/PagePass.h"

#include <QHash>

class XmlAlbum;
class XmlCSS;
class XmlStyleSheet;
namespace lq {
class GraphicsImage;
class TextView;
}

using XmlCSSPtr = std::shared_ptr<XmlCSS>;

// The base of every style element of a theme: visibility, hit testing and
// the hooks through which an element takes part in page HTML and CSS.
//
// Every operation here is a default that the page template, the backgrounds,
// the fonts and the page elements re-implement. The generation hooks only
// append to the text they are given; the base appends nothing.
//
// Its start tag always holds v and v2 first, before the name and before the
// attributes of any subclass.
class XmlCSS : public XmlBase {
public:
    explicit XmlCSS(Key key);

    static std::shared_ptr<XmlCSS> create();
    static XmlCSS* cast(XmlBase* object) { return dynamic_cast<XmlCSS*>(object); }

    QString elementName() const override;
    // "v", "v2" and "sameas" take the integer value of the text as it stands
    // (no change notice); other keys go to the element base.
    void setAttributeTo(const QString& key, const QString& value) override;
    // ` v="%d" v2="%d"` first, then the element base (the name).
    void appendAttributes(QString& xml) override;

    // --- Layout and drawing ---------------------------------------------------
    virtual void relayoutFlags(XmlBase* page, int flags);
    // Sends cleanup to every style child.
    virtual void cleanup();
    virtual void draw();
    virtual void drawObject();
    virtual void drawObject(const lq::Rect& rect);
    virtual void drawObjectTypeColorImage(const lq::Rect& rect, int type, const lq::Colour& colour,
                                          const lq::GraphicsImage& image);
    virtual void drawText();

    // --- Hit testing and selection of the layout canvas -----------------------
    // The rectangle guides align to: objectRect.
    virtual lq::Rect guideRect();
    // The zero rectangle.
    virtual lq::Rect objectRect() const;
    virtual void setObjectRect(const lq::Rect& rect);
    // The element under the point: an invisible element answers nothing;
    // otherwise the style children that do not float above the others (last
    // first), then those that do (last first). A template in its slideshow
    // view and a box containing the point answer more (see theirs).
    virtual XmlCSSPtr objectAtPoint(const lq::Point& point);
    // Whether the element lies above the plain boxes in hit tests (Vorn Boxes do).
    virtual bool floatsAbove() const { return false; }
    virtual void getSelectableObjects(XmlBaseList& list);
    // Whether the selection stepped to another part inside the element (a
    // free-style album's next photo) instead of leaving it.
    virtual bool hasNextSelectableObjectInside(bool backwards);
    // What a Control-click at the point opens for editing (a photo of an
    // album): the first answer of the style children, last first; nothing
    // when the receiver is invisible. The base never answers itself.
    virtual XmlBasePtr objectForEditingAtPoint(const lq::Point& point);
    virtual void canSaveChanges();
    virtual bool enabled();

    // --- Visibility -----------------------------------------------------------
    // v, whatever the view.
    virtual bool baseVisibility();
    bool visibleInSlideshow() const { return _visibleInSlideshow != 0; }
    // v2 when the direct parent shows its children in the slideshow view
    // (a page template in its slideshow view), else v.
    virtual bool visible();
    // Whether the element shows its style children in the slideshow view.
    virtual bool showsSlideshowView() const { return false; }
    virtual void setVisible(bool visible);
    virtual void setVisibleInSlideshow(bool visible);
    bool sameas() const { return _sameas != 0; }

    // --- Mouse and in-place editing -------------------------------------------
    // Each carries the data registered with the hot rectangle; the base ignores them.
    virtual void mouseEntered(const QString& data);
    virtual void mouseExited(const QString& data);
    virtual void mouseDown(const QString& data);
    virtual void mouseClick(const QString& data);
    virtual bool canDoubleClick();
    virtual bool startEditingAtPointTextView(const lq::Point& point, lq::TextView* textView);
    virtual bool isEditing();
    // Tells the document that in-place editing is over, so that it reloads
    // the editor panel.
    virtual void endEditingInView();

    // Send the same request to every style child.
    virtual void startAnimations();
    virtual void stopAnimations();

    // --- What the page template asks of its elements --------------------------
    // How the template's page layout places the element: among the others,
    // as the page text that flows round them, below that text (an album's
    // grid after the description), or as the foot below them all.
    enum class PageRole { Placed, Text, AfterText, Foot };
    virtual PageRole pageRole() const { return PageRole::Placed; }
    // The page y just below the laid-out page text (page text only), and
    // the top an element placed below the text is given.
    virtual int bottomOfText() { return 0; }
    virtual void setAfterTop(int top) {}
    // The rectangle of what the page holds so far (page text and foot).
    virtual void setPageBounds(const lq::Rect& bounds) {}
    // The rectangles the page text flows round (page text only).
    virtual void clearFloatRects() {}
    virtual void addFloatRect(const QString& rect) {}
    // Whether the page text flows round the element.
    virtual bool pushesTextAside() const { return true; }
    // Layer boxes are drawn in their layer (zlocation: "Background",
    // "Middle" or "Foreground") apart from the other elements, and take a
    // number of the theme when added.
    virtual bool isLayerBox() const { return false; }
    virtual QString zlocation() const { return QString(); }
    virtual void setVornSeqNum(int number) {}
    // Whether the element is a slideshow, which alone answers hit tests in
    // the template's slideshow view, and whether the template may then show
    // its background picture.
    virtual bool isSlideshow() const { return false; }
    virtual bool allowBkgndImage() const { return true; }
    // Whether the element's thumbnails open the slideshow page, so that the
    // template has a slideshow view.
    virtual bool opensSlideshowPage() const { return false; }
    // The element's lines of the script that centres the page vertically.
    virtual void appendPageCentringScript(QString& script) {}

    // --- Generation hooks -----------------------------------------------------
    // The element's part of the page in one pass (see PagePass).
    virtual void appendHTMLPagePassSheet(QString& html, XmlBase* page, PagePass pass, XmlStyleSheet* sheet);
    virtual void appendCSS(QString& css);
    virtual void appendCSSWinIESuffix(QString& css, const QString& suffix);
    virtual void appendJavascriptWinIE(QString& script);
    virtual void genCSSBitmap(QString& script);

    // --- Current album --------------------------------------------------------
    // The album page whose UUID is kept, while it lives and is an album page.
    std::shared_ptr<XmlAlbum> getCurrentAlbum() const;
    // Keeps the element UUID of the page (nothing for no page).
    void setCurrentAlbum(XmlBase* album);
    // The page a layout is for: the page given, which becomes the current
    // album, or else the current album, which `keep` then holds alive while
    // the layout runs. Nothing when there is neither.
    XmlBase* pageOrCurrentAlbum(XmlBase* page, std::shared_ptr<XmlAlbum>& keep);
    const QString& currentAlbumUUID() const { return _currentAlbum; }

    // --- Bitmap housekeeping, passed on to the children that take part -------
    // Adds the stored picture names (without extension) of the background pictures.
    virtual void listOfBitmaps(QStringList& names);
    virtual void convert1_2Bitmaps();
    // Map from old to new picture UUID.
    virtual void changeImageUUID(const QHash<QString, QString>& uuids);
    virtual void unpackToDirectory(const QString& folder);

protected:
    // Stored as read: 0 or 1 unless a file gave another number.
    int _visible = 1;
    int _visibleInSlideshow = 1;
    int _sameas = 0;
    QString _currentAlbum;
};
