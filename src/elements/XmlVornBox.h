#pragma once

#include "elements/XmlWebText.h"
#include "platform/Geometry.h"
#include "platform/text/Font.h"

#include <memory>
#include <optional>
#include <vector>

namespace lq {
class PreviewView;
}

// A free box placed anywhere on a page template: an external item, rich
// text, an HTML snippet or a layer box.
//
// Types (`type`): 0 an external item, 1 rich text (the element's own
// content), 2 an HTML snippet (the content of the "htmlSnippet" part,
// written into pages unchanged), 3 a layer box (only its background,
// borders and shadow). External items (`externalType`): 0 a web page or
// file in an inline frame, 1 a QuickTime movie, 2 a Flash movie, 3 an image
// with an optional link and rollover image. The fields of the other types
// keep their values while the type changes.
//
// The box's number comes from the theme's counter and is unique within the
// theme; every id the box writes into pages is made from it ("vorn<n>" the
// outer division, "ivorn<n>" the inline frame, "xvorn<n>" the division a
// movie goes into, "xvornro<n>" the rollover image, "vornro<n>" its script
// object). Only a layer box has a layer of its own; every other box is in
// the "Foreground".
//
// A rich-text box writes and draws in the fonts, colours and link settings
// of the template's content box; its own font children are not used.
//
// Its start tag holds the text element's attributes, then vornSeqNum, type,
// externalHTML, fullname, scrollbars, autostart, moviecontroller,
// loopmovie, scale, externalType, clickLinkTo, rollOverImage, newWindow,
// qtSize, hiddenQT, baseSize, zlocation and wraps; the snippet part follows
// the background's picture record as an "htmlSnippet" element.
class XmlVornBox : public XmlWebText {
public:
    explicit XmlVornBox(Key key);
    ~XmlVornBox() override;

    static std::shared_ptr<XmlVornBox> create();
    static XmlVornBox* cast(XmlBase* object) { return dynamic_cast<XmlVornBox*>(object); }

    // --- Identity -----------------------------------------------------------------
    QString elementName() const override;
    // Vorn Boxes lie above the template's plain boxes.
    bool floatsAbove() const override { return true; }
    // Always "Vorn Box".
    QString name() const override;
    // The user's name for the box, or "Vorn Box" when none was given.
    QString fullname() const override;
    void setFullname(const QString& fullname);
    // "x<number>".
    QString uniquename() const override;
    bool enabled() override;

    // --- Stored form -----------------------------------------------------------------
    // Integers: "type", "vornSeqNum", "scrollbars", "autostart",
    // "moviecontroller", "loopmovie", "scale", "externalType", "newWindow",
    // "hiddenQT", "wraps"; texts: "externalHTML", "fullname", "clickLinkTo",
    // "rollOverImage", "zlocation" (kept only once the type read is 3);
    // sizes "{w, h}": "qtSize", "baseSize". Each through its setter.
    void setAttributeTo(const QString& key, const QString& value) override;
    void appendAttributes(QString& xml) override;
    // "htmlSnippet" is the snippet part.
    XmlBasePtr createChildFromTag(const QString& tag) override;
    // The background's picture record, then the snippet part.
    QString writeXmlVorns() override;
    // The snippet part once made, then the text element's parts.
    XmlBaseList ownedParts() const override;

    // --- Settings; the setters mark the document changed ---------------------------------
    int type() const { return _type; }
    void setType(int type);
    int externalType() const { return _externalType; }
    void setExternalType(int type);
    int vornSeqNum() const { return _vornSeqNum; }
    void setVornSeqNum(int number);
    const QString& externalHTML() const { return _externalHTML; }
    void setExternalHTML(const QString& item);
    bool scrollbars() const { return _scrollbars; }
    void setScrollbars(bool scrollbars);
    bool autostart() const { return _autostart; }
    void setAutostart(bool autostart);
    bool moviecontroller() const { return _moviecontroller; }
    void setMoviecontroller(bool controller);
    bool loopmovie() const { return _loopmovie; }
    void setLoopmovie(bool loop);
    // Flash scaling: 0 "Default", 1 "noborder", 2 "exactfit".
    int scale() const { return _scale; }
    void setScale(int scale);
    const QString& clickLinkTo() const { return _clickLinkTo; }
    void setClickLinkTo(const QString& link);
    const QString& rollOverImage() const { return _rollOverImage; }
    void setRollOverImage(const QString& image);
    bool newWindow() const { return _newWindow; }
    void setNewWindow(bool newWindow);
    int hiddenQT() const { return _hiddenQT; }
    void setHiddenQT(int hidden);
    bool wrapsText() const { return _wrapsText; }
    void setWrapsText(bool wraps);
    // The movie's measured size and a stored size; neither marks the document.
    const lq::Size& qtSize() const { return _qtSize; }
    void setQTSize(const lq::Size& size) { _qtSize = size; }
    const lq::Size& baseSize() const { return _baseSize; }
    void setBaseSize(const lq::Size& size) { _baseSize = size; }
    // The layer: a layer box's own, "Foreground" for every other type.
    QString zlocation() const;
    // Stored (and the document marked) only for a layer box.
    void setZlocation(const QString& layer);
    // The page pass of the layer: "Background" and "Middle" have their own,
    // any other layer is the foreground's.
    PagePass getCorrectPass() const;
    // The snippet part, made on first use.
    const XmlBasePtr& htmlSnippet();

    // A layer box always has a tiled picture (mode 5) over no colour.
    int bkgnd() const override;
    int transparentBkgnd() const override;

    // --- Geometry: a QuickTime box sizes itself from its movie ---------------------------
    bool heightFixed() const override;
    bool widthFixed() const override;
    int width() const override;
    int height() const override;
    int calcWidth() const override;
    int calcHeight() const override;
    int internalHeight() const override;

    // --- Fonts: the records of the template's content box (nothing without one) ---------
    std::shared_ptr<XmlWebFont> font() override;

    // --- Text ---------------------------------------------------------------------------------
    // The text storage, layout manager and an unbounded plain container, once.
    void createTextLayoutStuff() override;
    // Each paragraph takes the content box's record of its tag: "p" the
    // default record, "h1" and "h3" the heading, "h2" the subheading, "h4" the
    // caption; other tags keep what the paragraph before had.
    void setUpParagraphAlignmentTag(const QString& attributes, lq::TextAlignment alignment,
                                    const QString& tag) override;
    // A box with a live preview places its view over its text area; a
    // rich-text box lays its text out for the page (flags 0 only) and makes
    // its links click areas of the document. A failure is logged with the
    // box's XML and goes no further.
    void relayoutFlags(XmlBase* page, int flags) override;

    // --- Previews (VornBoxPreview) and the preview page (VornBoxHtml) ----------------------------
    bool requiresView();
    std::unique_ptr<lq::PreviewView> createView();
    QString htmlString();
    void updateVorn();
    void reloadPage();

    // --- Canvas ---------------------------------------------------------------------------------
    using XmlWebText::drawObject;
    void drawObject(const lq::Rect& rect) override;
    // Rich text only.
    void drawText() override;
    // Each takes the range string of a link's click area.
    void mouseEntered(const QString& data) override;
    void mouseExited(const QString& data) override;
    void mouseDown(const QString& data) override;
    void mouseClick(const QString& data) override;

    // --- Page HTML and template CSS (VornBoxHtml) ------------------------------------------------
    void appendCSS(QString& css) override;
    void appendCSSWinIESuffix(QString& css, const QString& suffix) override;
    void appendHTMLPagePassSheet(QString& html, XmlBase* page, PagePass pass, XmlStyleSheet* sheet) override;

protected:
    // Link runs take the record's link colour, underlined as the record says.
    bool linksFollowRecordStyle() const override { return true; }

private:
    friend class VornBoxHtml;
    friend class VornBoxPreview;
    friend class VornBoxText;

    std::optional<lq::Font> headingFont;
    std::optional<lq::Font> subheadingFont;
    std::optional<lq::Font> captionFont;
    QString _fullname;
    QString _externalHTML = QStringLiteral("");
    int _type = 0;
    int _vornSeqNum = 0;
    int _externalType = 0;
    XmlBasePtr _htmlSnippet;
    bool _scrollbars = false;
    bool _autostart = false;
    bool _moviecontroller = false;
    lq::Size _qtSize;
    int _hiddenQT = 0;
    lq::Size _baseSize;
    bool _loopmovie = false;
    signed char _scale = 0;
    QString _clickLinkTo = QStringLiteral("");
    bool _newWindow = false;
    QString _rollOverImage = QStringLiteral("");
    QString _zlocation = QStringLiteral("Foreground");
    bool _wrapsText = false;
};
