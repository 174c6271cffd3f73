#pragma once

#include "templates/XmlCSSBackground.h"

#include <memory>

class XmlWebFont;
namespace lq {
class LayoutManager;
class StyledText;
class TextContainer;
}

// The base of every positioned page element: position, size, padding and
// borders per side, a border style, one border colour per side and a drop
// shadow, on top of its background. Its only children are its fonts; every
// box has one named "default" (font).
//
// All lengths are whole pixels of page coordinates (origin at the top left,
// y downward). The outer rectangle (objectRect) holds the borders, the
// padding and, when the box casts a drop shadow, an 8-pixel strip at the
// right and the bottom; the inner rectangle (internalRect) is the text area.
//
// Three flags, fixed by each class in its constructor, say how a box is
// placed: widthFixed (else the parent box's inner width), heightFixed (else
// the height the laid-out text needs) and absolute (else at the parent box's
// inner origin). The geometry goes through dynamic dispatch everywhere, so a
// subclass that answers one of these in its own way changes every rectangle.
//
// A box lays out and draws its one line of text (the masthead's or the page
// title's) with a text system of its own, made at the first layout and
// dropped by cleanup.
//
// Its start tag holds v, v2, name and the background's attributes, then top
// (absolute boxes but the footer), left (absolute boxes), width, height (when
// fixed), pt pl pb pr, bt bl bb br, bType, the four border colours as CSS hex
// colours (alpha is not kept) and ds.
class XmlBoxModel : public XmlCSSBackground {
public:
    explicit XmlBoxModel(Key key);
    ~XmlBoxModel() override;

    static std::shared_ptr<XmlBoxModel> create();
    static XmlBoxModel* cast(XmlBase* object) { return dynamic_cast<XmlBoxModel*>(object); }

    QString elementName() const override;
    // Only fonts.
    bool canYouBeMyParent(XmlBase* child) override;
    // "top", "left", "width", "height", "ds", "pt", "pl", "pb", "pr", "bt",
    // "bl", "bb", "br", "bType" (integers) and "btColor", "blColor",
    // "bbColor", "brColor" ("#RRGGBB"; a text that is no colour gives black),
    // each through its setter.
    void setAttributeTo(const QString& key, const QString& value) override;
    void appendAttributes(QString& xml) override;
    // Gives the box its default font when it has none yet, then passes on.
    void newDocument() override;

    // --- Fonts --------------------------------------------------------------------
    // The first font child named "default"; one is added when there is none.
    virtual std::shared_ptr<XmlWebFont> font();

    // --- Stored values; every setter marks the document changed --------------------
    // The four box accessors are virtual: the slideshow answers a selected
    // control's rectangle through them.
    virtual int top() const { return _top; }
    virtual void setTop(int top);
    virtual int left() const { return _left; }
    virtual void setLeft(int left);
    virtual int width() const { return _width; }
    virtual void setWidth(int width);
    // setWidth under the name the sidebar's editor uses.
    void setWidthForSidebar(int width) { setWidth(width); }
    virtual int height() const { return _height; }
    virtual void setHeight(int height);
    int pt() const { return _pt; }
    void setPt(int padding);
    int pl() const { return _pl; }
    void setPl(int padding);
    int pb() const { return _pb; }
    void setPb(int padding);
    int pr() const { return _pr; }
    void setPr(int padding);
    int bt() const { return _bt; }
    void setBt(int width);
    int bl() const { return _bl; }
    void setBl(int width);
    int bb() const { return _bb; }
    void setBb(int width);
    int br() const { return _br; }
    void setBr(int width);
    // 0 solid, 1 double, 2 dotted, 3 dashed, 4 groove, 5 ridge; others draw solid.
    // The border styles. A stored number outside them draws as solid and is
    // written back as it was read.
    enum class BorderType : int { Solid = 0, Double = 1, Dotted = 2, Dashed = 3, Groove = 4, Ridge = 5 };
    BorderType bType() const { return _bType; }
    void setBType(BorderType type);
    const lq::Colour& btColor() const { return _btColor; }
    void setBtColor(const lq::Colour& colour);
    const lq::Colour& blColor() const { return _blColor; }
    void setBlColor(const lq::Colour& colour);
    const lq::Colour& bbColor() const { return _bbColor; }
    void setBbColor(const lq::Colour& colour);
    const lq::Colour& brColor() const { return _brColor; }
    void setBrColor(const lq::Colour& colour);
    // Non-zero: the box casts a drop shadow into an 8-pixel strip.
    int dropShadow() const { return _dropShadow; }
    void setDropShadow(int shadow);

    // The strip at the right and the bottom that a drop shadow takes.
    static constexpr int shadowStrip = 8;
    // A text container's extent: wide and high enough never to break a line
    // or run out of room.
    static constexpr qreal unboundedExtent = 1000000.0;

    virtual bool heightFixed() const { return _heightFixed; }
    virtual bool widthFixed() const { return _widthFixed; }
    virtual bool absolute() const { return _absolute; }
    // Whether the borders are drawn into bitmaps instead of written as CSS
    // borders: no box does so.
    virtual bool bordersAreBitmap() const { return false; }

    // --- Geometry -------------------------------------------------------------------
    // top when absolute, else the parent box's internalTop (0 without one).
    virtual int calcTop() const;
    // left when absolute, else the parent box's internalLeft (0 without one).
    virtual int calcLeft() const;
    // width when fixed, else the parent box's internalWidth (0 without one).
    virtual int calcWidth() const;
    // height when fixed, else internalHeight plus borders, padding and shadow strip.
    virtual int calcHeight() const;
    virtual int internalTop() const;
    virtual int internalLeft() const;
    // calcWidth less borders, padding and shadow strip; never below 0.
    virtual int internalWidth() const;
    // With a fixed height, height less borders, padding and shadow strip (it
    // may go below 0); otherwise the height of the laid-out text, 0 while no
    // page is known to lay it out for. Asking lays the text out for the page
    // remembered last when it was not yet; it registers no click areas.
    virtual int internalHeight() const;
    // The full height the box takes on the page: calcHeight here; the
    // content box and the footer answer the height of their laid-out text.
    virtual int actualHeight() const;
    // The outer rectangle, shadow strip included.
    lq::Rect objectRect() const override;
    // What the children hit, else the box itself when its rectangle holds the point.
    XmlCSSPtr objectAtPoint(const lq::Point& point) override;
    // Whether the box's top is stored with it; the footer places itself below the page's text.
    virtual bool storesTop() const { return true; }
    // The text area.
    lq::Rect internalRect() const;
    // From the layout canvas after a move or resize: takes the position when
    // absolute and the width and height when fixed, then lays the text out.
    void setObjectRect(const lq::Rect& rect) override;

    // --- Layout and canvas ----------------------------------------------------------
    // Lays the box's text out for the page (nothing: the page remembered last).
    // A non-zero flag leaves everything as it is. The text is empty except for
    // the boxes named "Masthead" (the site's masthead text, whose link becomes
    // the box's click area) and "Page Title" (the page's title). A failure is
    // logged with the box's XML and goes no further.
    void relayoutFlags(XmlBase* page, int flags) override;
    // drawObject with objectRect.
    void drawObject() override;
    // Shadow, background and borders into the outer rectangle.
    void drawObject(const lq::Rect& rect) override;
    // The laid-out text at the origin of internalRect.
    void drawText() override;
    // Drops the text system, then passes on to the children.
    void cleanup() override;
    // A click in the masthead's area: the page whose address is the link is
    // shown; any other absolute address opens in the browser.
    void mouseClick(const QString& link) override;
    bool canDoubleClick() override;
    // Prepares the box's text for in-place editing (shown in black) and
    // answers whether the box can be edited in place. The layout canvas
    // attaches the text view to textContainer() over internalRect().
    bool startEditingAtPointTextView(const lq::Point& point, lq::TextView* textView) override;
    // While a text view is attached to the box's text container.
    bool isEditing() override;
    void endEditingInView() override;
    // Adds the box itself.
    void getSelectableObjects(XmlBaseList& list) override;

    // The text system, while there is one.
    const std::shared_ptr<lq::StyledText>& textStorage() const { return _contents; }
    lq::LayoutManager* layoutManager() const { return _lm.get(); }
    const std::shared_ptr<lq::TextContainer>& textContainer() const { return _tc; }

    // --- The box's part of the page and the template's CSS (XmlBoxModelHtml.cpp)
    // `<div id="ID" style="top: Ypx; left: Xpx; width: Wpx; height: Hpx;">&nbsp;</div>`
    // and a newline, with the rectangle cut to whole pixels.
    QString htmlDivTagsForRect(const QString& elementId, const lq::Rect& rect);
    // The box's own div: the bordered area (actualHeight high) less the
    // borders (padding stays inside, the shadow strip does not), with the
    // additional style, when given (not null), ahead of the position.
    QString htmlDivTagsVornStyle(const QString& elementId, const QString& style);
    // The CSS border style name of a border type ("solid" for unknown types).
    static QString borderType(BorderType type);
    // "border-top: ...; border-left: ...; border-bottom: ...; border-right: ...; ",
    // every side whatever its width ("border: 0px; " for bitmap borders).
    void appendCSSBorders(QString& css);
    // "padding: T R B L; " (with the borders added for bitmap borders).
    void appendCSSPadding(QString& css);

    // --- The font records the box holds, and its link (XmlBoxModelText.cpp)
    // A new font record with its defaults, named `name`, appended as a child.
    // The tag is not used.
    std::shared_ptr<XmlWebFont> addFontName(const QString& tag, const QString& name);
    // The font record named "default" among the children, or nothing.
    std::shared_ptr<XmlWebFont> defaultFont() const;
    // Shows the site's page whose address is the link, when there is one;
    // answers whether it did.
    bool showPageWithLink(const QString& link);
    // The border drawing is BoxBorderDrawing's.

protected:
    // The outer rectangle with the height the box takes on the page.
    lq::Rect winIEElementRect() override;

    // Set by each class's constructor; never stored.
    bool _heightFixed = false;
    bool _widthFixed = false;
    bool _absolute = false;
    int _top = 0;
    int _left = 0;
    int _width = 0;
    int _height = 0;
    int _pt = 0;
    int _pl = 0;
    int _pb = 0;
    int _pr = 0;
    int _bt = 0;
    int _bl = 0;
    int _bb = 0;
    int _br = 0;
    BorderType _bType = BorderType::Solid;
    lq::Colour _btColor = lq::Colour::black();
    lq::Colour _blColor = lq::Colour::black();
    lq::Colour _bbColor = lq::Colour::black();
    lq::Colour _brColor = lq::Colour::black();
    int _dropShadow = 0;
    // The text system: none until the first layout. A geometry query may lay
    // the text out, so the layout is a cache that const queries fill.
    mutable std::shared_ptr<lq::StyledText> _contents;
    mutable std::unique_ptr<lq::LayoutManager> _lm;
    mutable std::shared_ptr<lq::TextContainer> _tc;

private:
    // --- The box's own text (XmlBoxModelText.cpp) ------------------------------------
    // Lays the box's text out for the page, without the failure handling of
    // relayoutFlags; nothing without a page. The text system is a cache that
    // const queries fill.
    void layoutText(XmlBase* page) const;
    // The masthead's link as the box's click area in the document.
    void registerClickAreas(XmlBase* page);
    void releaseTextSystem();
};
