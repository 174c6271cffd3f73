#pragma once

#include "elements/VornBoxSettings.h"
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
// The stored settings are a VornBoxSettings value the box holds; the snippet
// part follows the background's picture record as an "htmlSnippet" element.
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
    // "x<number>".
    QString uniquename() const override;
    bool enabled() override;

    // --- Stored form -----------------------------------------------------------------
    // The settings' attributes; the rest goes to the text element.
    void setAttributeTo(const QString& key, const QString& value) override;
    // The text element's attributes, then the settings'.
    void appendAttributes(QString& xml) override;
    VornBoxSettings& settings() { return _settings; }
    const VornBoxSettings& settings() const { return _settings; }
    // The settings the box answers for itself: its kind, number, name and layer.
    int type() const { return _settings.type(); }
    int vornSeqNum() const { return _settings.vornSeqNum(); }
    void setVornSeqNum(int number) override { _settings.setVornSeqNum(number); }
    QString fullname() const override { return _settings.fullname(); }
    void setFullname(const QString& fullname) { _settings.setFullname(fullname); }
    QString zlocation() const override { return _settings.zlocation(); }
    // "htmlSnippet" is the snippet part.
    XmlBasePtr createChildFromTag(const QString& tag) override;
    // The background's picture record, then the snippet part.
    QString writeXmlVorns() override;
    // The snippet part once made, then the text element's parts.
    XmlBaseList ownedParts() const override;
    // The snippet part, made on first use.
    const XmlBasePtr& htmlSnippet();

    // --- Layer --------------------------------------------------------------------------------
    bool isLayerBox() const override { return true; }
    // The page text flows round a box only when it is a layer box set to wrap.
    bool pushesTextAside() const override { return type() != 3 || _settings.wrapsText(); }
    // A visible web box (type 0, external type 0) moves with the centred page.
    void appendPageCentringScript(QString& script) override;
    // The page pass of the layer: "Background" and "Middle" have their own,
    // any other layer is the foreground's.
    PagePass getCorrectPass() const;

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

    // --- Previews and the preview page ---------------------------------------------------------
    // Whether the box shows as a live view: only while the template shows
    // previews, for movies, images and snippets. A Flash movie has no player
    // here and is drawn as a placeholder instead, as is a box whose kind of
    // view cannot be shown on this machine (PreviewView::canShow).
    bool requiresView();
    // A new view for the box (the caller owns it), or nothing.
    std::unique_ptr<lq::PreviewView> createView();
    // The preview page of a snippet, movie, Flash movie or image box; null
    // for rich text, inline frames and layer boxes.
    QString htmlString();
    // Measures a QuickTime box's movie into qtSize; nothing for other boxes or
    // a movie that cannot be read.
    void updateVorn();
    // Loads the existing view again.
    void reloadPage();

    // The diagonal lines of a placeholder over the rectangle, every 20
    // points from its top left corner, cut at its edges.
    struct Line {
        lq::Point start;
        lq::Point end;
    };
    static std::vector<Line> placeholderHatchLines(const lq::Rect& rect);

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

    // --- Page HTML and template CSS ---------------------------------------------------------------
    void appendCSS(QString& css) override;
    void appendCSSWinIESuffix(QString& css, const QString& suffix) override;
    // The box's division and content in its pass; nothing in the others.
    void appendHTMLPagePassSheet(QString& html, XmlBase* page, PagePass pass, XmlStyleSheet* sheet) override;

protected:
    // Link runs take the record's link colour, underlined as the record says.
    bool linksFollowRecordStyle() const override { return true; }

private:
    // --- The movie --------------------------------------------------------------------------------
    // A QuickTime movie: the box takes its size from the movie.
    bool isQuickTime() const;
    // The movie size used for the geometry: 100 for an unmeasured movie.
    float movieWidth() const;
    float movieHeight() const;
    // "<folder>/files/<externalHTML>".
    QString movieFile();
    // Loads the movie into the view as the box's options say, then measures
    // it into qtSize; nothing when the movie cannot be read.
    void loadMovieIntoView(lq::PreviewView& view, bool hideAsStored);
    // The hatching and the box's name and item over the rectangle.
    void drawPlaceholder(const lq::Rect& rect);

    // --- The content box's fonts and the links under the pointer --------------------------------
    // The content box's record by kind (0 the default record, 1 the heading,
    // 2 the subheading, 3 the caption), or nothing without a content box.
    std::shared_ptr<XmlWebFont> contentRecord(int type);
    std::shared_ptr<XmlWebFont> heading();
    std::shared_ptr<XmlWebFont> subheading();
    std::shared_ptr<XmlWebFont> caption();
    // Colours the link of the range string (hovered or clicked), or takes the
    // colour away again.
    void showLinkColour(const QString& data, bool hover, bool clicked);

    // --- Page output ---------------------------------------------------------------------------
    // The image (with its link and rollover) for the page or the preview.
    void appendImage(QString& html, bool forPage);

    VornBoxSettings _settings { *this };
    std::optional<lq::Font> headingFont;
    std::optional<lq::Font> subheadingFont;
    std::optional<lq::Font> captionFont;
    XmlBasePtr _htmlSnippet;
};
