#pragma once

#include "templates/XmlCSS.h"

class XmlCSSImage;

// The background of a page template or of a box: a mode, a colour and one
// picture record with a position in percent and the heights of a top and a
// bottom slice.
//
// Modes: 0 transparent, 1 colour, 2 the picture once at the percent
// position, 3 repeated across at the vertical position, 4 repeated down at
// the horizontal position, 5 tiled, 6 colour with a sliced picture (top
// slice, a middle band repeated downwards, bottom slice). The picture modes
// (2 and above) use the picture only where allowImageInBackground says so;
// elsewhere the CSS falls back to the colour.
//
// The picture record is an owned part, not a child: createChildFromTag hands
// it to the reader for "QZimage", and writeXmlVorns writes it in the picture
// modes only. Its start tag holds v, v2, name, then bkgnd, bkgndColor, ts,
// bs, bx, by and tbkgnd, each read through its accessor.
//
// A page template has no picture offsets: bx and by read as 0 and their
// setters do nothing for it.
class XmlCSSBackground : public XmlCSS {
public:
    explicit XmlCSSBackground(Key key);
    ~XmlCSSBackground() override;

    static std::shared_ptr<XmlCSSBackground> create();
    static XmlCSSBackground* cast(XmlBase* object) { return dynamic_cast<XmlCSSBackground*>(object); }

    QString elementName() const override;
    // "QZimage" is the background's own picture record (a new one when it has none).
    XmlBasePtr createChildFromTag(const QString& tag) override;
    // The picture record's XML in the picture modes (bkgnd 2 and above), else
    // the empty text: a background is never written as a self-closing tag.
    QString writeXmlVorns() override;
    // "bkgnd", "bs", "ts", "bx", "by", "tbkgnd" (integers) and "bkgndColor"
    // ("#RRGGBB"; a text that is no colour gives black) through their setters.
    void setAttributeTo(const QString& key, const QString& value) override;
    // ` bkgnd="%d" bkgndColor="#RRGGBB" ts="%d" bs="%d" bx="%d" by="%d" tbkgnd="%d"`
    // after v, v2 and the name.
    void appendAttributes(QString& xml) override;
    // The picture record, when there is one.
    XmlBaseList ownedParts() const override;

    // --- Drawing on the layout canvas -------------------------------------------
    // Into objectRect, or (0, 0, 2000, 4000) while that is the zero rectangle.
    void drawObject() override;
    // With the background's mode, colour and the record's picture (none while
    // it is not loaded).
    void drawObject(const lq::Rect& rect) override;
    // Draws a background of the mode, colour and picture into the rectangle of
    // the current graphics context; the offsets, the slice heights and the
    // transparency flag are the receiver's. Nothing without a current context.
    void drawObjectTypeColorImage(const lq::Rect& rect, int type, const lq::Colour& colour,
                                  const lq::GraphicsImage& image) override;

    // --- Stored values ------------------------------------------------------------
    virtual int bkgnd() const;
    void setBkgnd(int mode);
    // Non-zero: no colour lies under the picture in the picture modes.
    virtual int transparentBkgnd() const;
    void setTransparentBkgnd(int transparent);
    // The background colour; the slices of its picture lie on it.
    const lq::Colour& bkgndColor() const { return _bkgndColor; }
    void setBkgndColor(const lq::Colour& colour);
    const std::shared_ptr<XmlCSSImage>& image() const { return _image; }
    // Takes the record as its own (its parent becomes the background; the
    // old record is detached) and loads the record's picture: one hold
    // (loadBackstore) on the new record. Nothing makes the record nothing.
    void setImage(const std::shared_ptr<XmlCSSImage>& image);
    // Percent position of the picture: 0 for a page template.
    int bxoffset() const;
    void setBxoffset(int offset);
    int byoffset() const;
    void setByoffset(int offset);
    int topSlice() const { return _topSlice; }
    void setTopSlice(int height);
    int bottomSlice() const { return _bottomSlice; }
    void setBottomSlice(int height);
    // Where the bottom slice starts when mode 6 is drawn, from the background's
    // top edge; set by the page layout and never stored, so it marks nothing.
    int middleSlice() const { return _middleSlice; }
    void setMiddleSlice(int offset) { _middleSlice = offset; }

    // --- CSS and build steps --------------------------------------------------------
    // The background declarations, without selector or braces.
    void appendCSSBackground(QString& css);
    // The rule of the Windows Internet Explorer fix style sheet that shows a
    // PNG picture through the AlphaImageLoader filter, for the selector.
    // Where the filter needs a prepared bitmap (a picture placed away from the
    // top left corner, or repeated over a larger element) it records that
    // bitmap for genCSSWinIEBitmap; every call first clears that record.
    void appendCSSWinIEBackgroundTagSuffix(QString& css, const QString& tag, const QString& suffix);
    // The step that makes the bitmap recorded by the last rule, once: the
    // record is used up by the step.
    virtual void genCSSWinIEBitmap(QString& script);
    // appendCSSBackground alone.
    void appendCSS(QString& css) override;
    // The step that copies the picture into the site (picture modes), or that
    // slices it (mode 6); nothing when pictures are not allowed.
    void genCSSBitmap(QString& script) override;
    // Whether the picture modes may use the picture here.
    virtual bool allowImageInBackground();

protected:
    int _bkgnd = 0;
    lq::Colour _bkgndColor = lq::Colour::white();
    std::shared_ptr<XmlCSSImage> _image;
    int _topSlice = 0;
    int _bottomSlice = 0;
    int _middleSlice = 0;
    int _bxoffset = 0;
    int _byoffset = 0;
    int _transparentBkgnd = 0;

    // The bitmap of the Windows IE fix, from the rule to its step.
    bool _winFixup = false;
    QString _winFilename;
    lq::Size _winSize;
    // 0: the picture tiled over the size; 1: placed once at _winX, _winY percent.
    int _winType = 0;
    int _winX = 0;
    int _winY = 0;

    // The element's rectangle as the Windows IE bitmap covers it.
    virtual lq::Rect winIEElementRect();

private:
    bool isPageTemplate() const;
    // The mode the CSS is written for: the picture modes count as 1 where
    // pictures are not allowed.
    int cssMode();
    // "<picture UUID><unique name><suffix>.png", kept to a plain file name
    // that is safe inside a quoted CSS string.
    QString winIEFileName(const QString& suffix) const;
};
