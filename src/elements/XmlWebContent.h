#pragma once

#include "platform/Colour.h"
#include "platform/Range.h"
#include "platform/text/Font.h"
#include "platform/text/ParagraphStyle.h"
#include "platform/text/StyledText.h"
#include "templates/XmlBoxModel.h"

#include <QList>
#include <QStringList>

#include <optional>

class QZTextContainer;
class TextEditorBase;
class XmlWebText;

// The box that holds a page's own text: the large rich-text box of a page
// template. The template keeps only the box and the typography of its six
// paragraph styles, one font record child each; the text belongs to each
// page and is poured into the box whenever the template is laid out for a
// page.
//
// Paragraph types, their records and the tags written in pages:
//   0 "default"            p   (font check "cp")
//   1 "Content Heading"    h1  ("ch1"; "h3" is read as h1)
//   2 "Content Subheading" h2  ("ch2")
//   3 "Content Caption"    h4  ("ch4")
//   4 "Content Alternate"  h5
//   5 "Content Alternate2" h6
//
// Link colours and underlining live in the records; the element's link
// getters answer the "default" record's. Its start tag holds the box's
// attributes, then underlineLinks, linkNormal, linkHover, linkVisited (the
// "default" record's values), fontsHaveData="1" and extendPage. Older files
// carry the link settings and two line spacings on the element itself
// (normalLS, headingLS); loading moves them into the records and they are
// never written again.
class XmlWebContent : public XmlBoxModel {
public:
    explicit XmlWebContent(Key key);
    ~XmlWebContent() override;

    static std::shared_ptr<XmlWebContent> create();
    static XmlWebContent* cast(XmlBase* object) { return dynamic_cast<XmlWebContent*>(object); }

    QString elementName() const override;
    void setAttributeTo(const QString& key, const QString& value) override;
    void appendAttributes(QString& xml) override;
    // Adds the "Content Heading" record (16 pixels) and the box's defaults.
    void newDocument() override;
    // Moves the settings of older files into the records and switches bold,
    // italic and underline off on the "default" and heading records.
    void postload() override;
    bool enabled() override;

    // --- Font records: found by name, added on first use ------------------------
    std::shared_ptr<XmlWebFont> heading();
    std::shared_ptr<XmlWebFont> subheading();
    std::shared_ptr<XmlWebFont> caption();
    std::shared_ptr<XmlWebFont> alternate();
    std::shared_ptr<XmlWebFont> alternate2();
    // The record of a paragraph type (any other type: "default").
    std::shared_ptr<XmlWebFont> fontForType(int type);

    // --- Links: the "default" record's values -------------------------------------
    bool underlineLinks();
    lq::Colour linkNormal();
    lq::Colour linkHover();
    lq::Colour linkVisited();
    // The settings of older files, kept until loading ends; no change notices.
    void setUnderlineLinks(bool underline) { _underlineLinks = underline; }
    void setLinkNormal(const lq::Colour& colour) { _linkNormal = colour; }
    void setLinkHover(const lq::Colour& colour) { _linkHover = colour; }
    void setLinkVisited(const lq::Colour& colour) { _linkVisited = colour; }

    // Stretch the box down to the bottom of the page.
    bool extendPage() const { return _extendPage; }
    void setExtendPage(bool extend);

    // --- Page bounds --------------------------------------------------------------
    // The page rectangle the template handed in last.
    const lq::Rect& pageBounds() const { return _pageBounds; }
    void setPageBounds(const lq::Rect& bounds) override { _pageBounds = bounds; }
    PageRole pageRole() const override { return PageRole::Text; }

    // --- Layout -------------------------------------------------------------------
    // Lays the page's text out (nothing: the current page; no page at all:
    // nothing happens). Flags 0 read the page's stored text again (the
    // footer reads the site's footer text) into the wrapping container over
    // the text area; other flags only lay the same text out again. The
    // links become click areas of the document under the box's UUID, each
    // with its range "{location, length}" as data. A failure is logged with
    // the box's XML and goes no further.
    void relayoutFlags(XmlBase* page, int flags) override;
    // Builds the text objects when missing; empties the floating rectangles.
    void clearFloatRects() override;
    // Builds the text objects when missing; adds a rectangle (page
    // coordinates, as text) that the text flows around.
    void addFloatRect(const QString& rect) override;
    // The stored text read into styled text: one run per piece of equal
    // style with "QZType", "QZLinkLocation" and "QZLinkNewWindow". Records
    // the links' ranges.
    lq::StyledText getAttributedStringWithAlignment(const QString& text, bool alignment);
    // The character ranges of the links of the laid-out text, in order, as
    // "{location, length}".
    const QStringList& links();
    // Drops the text objects (the next layout builds them again), then passes on.
    void cleanup() override;

    // --- Geometry ---------------------------------------------------------------------
    // calcWidth less borders, shadow strip and padding (it may go below 0).
    int internalWidth() const override;
    // The larger of the text's bottom and the stored inner height; with
    // extendPage (never for the footer) at least down to the page's bottom.
    int internalHeight() const override;
    // internalHeight with borders, padding and shadow strip.
    int actualHeight() const override;
    // The page y just below the text (0 without text objects).
    int bottomOfText() override;

    // --- Canvas -------------------------------------------------------------------------
    // The box as high as actualHeight.
    void drawObject() override;
    // What the text system reports when it has laid the text out: when the
    // container's height changed, the template is laid out again (flags 2)
    // and the layout canvas refreshes its selected element.
    void layoutManagerDidCompleteLayoutForTextContainerAtEnd(lq::LayoutManager* manager,
                                                             lq::TextContainer* container, bool atEnd);

    // --- Link feedback ----------------------------------------------------------------
    // Each takes a link's range string. Hover and press show the link in its
    // record's hover or clicked colour (a temporary colour, the text is
    // unchanged); leaving takes the colour away.
    void mouseEntered(const QString& data) override;
    void mouseExited(const QString& data) override;
    void mouseDown(const QString& data) override;
    // Shows the page whose address is the link, or opens it in the browser.
    void mouseClick(const QString& data) override;

    // --- In-place editing ---------------------------------------------------------------
    // Answers NO when the box cannot be edited in place or is being edited;
    // otherwise prepares the text (black, laid out as a plain rectangle: the
    // view cannot wrap around the floating rectangles) and answers YES. A
    // view given goes to the document's rich-text editor, which attaches it
    // to textContainer() and loads the page's text (the footer: the site's
    // footer text) into it; the layout canvas places the view over
    // editingFrame(). Without an editor the canvas attaches the view itself.
    bool startEditingAtPointTextView(const lq::Point& point, lq::TextView* textView) override;
    // While an edit started here has not ended.
    bool isEditing() override;
    // Stores the edited text into the page (the footer: the site's footer
    // text) through the editor, which lets the view go; without one, the
    // text as the view left it. Restores the wrapped layout and tells the
    // document.
    void endEditingInView() override;
    // Where the text view goes: the text area, twice as wide.
    lq::Rect editingFrame();
    // The first character of the line at the point's height (-1 below the text area).
    int getCharacterPositionForPoint(const lq::Point& point);
    int getIndexOfBeginingOfParagraph(int index) { return index; }
    // 0, 1 or 2 by the third of the text area's width the point lies in.
    int getBlockAlignForPoint(const lq::Point& point);
    // The start of the paragraph before the one holding the index (-1: the
    // end of the text); 0 from the first paragraph.
    int previousParagraph(int index);
    // The start of the next paragraph; -1 when there is none or for -1.
    int nextParagraph(int index);

    // --- Page HTML ------------------------------------------------------------------------
    // What the footer adds to its text: a raw HTML snippet written in its
    // place, and the "Created With" credit below it. A content box has neither.
    virtual bool useHtmlSnippet() const { return false; }
    virtual XmlBase* htmlSnippet() { return nullptr; }
    virtual bool createdWith() const { return false; }
    // The font checks in the head script, the box and the positioned lines
    // in their layers, and the steps; nothing in the other passes.
    void appendHTMLPagePassSheet(QString& html, XmlBase* page, PagePass pass, XmlStyleSheet* sheet) override;
    // One paragraph element of a paragraph or a line piece at the
    // rectangle (positioned mode) or in the flow (browser-flow mode).
    QString createHTMLfromAttributedStringAtRect(const lq::StyledText& text, const lq::Rect& rect);

    // --- Template CSS -------------------------------------------------------------
    // The box rule "#contentbox", the spacer rules, then the rules of the
    // positioned lines ("div.content ...") and of the flowing text
    // ("div.vornhtml ...") for the Normal, Heading, Subheading and Caption
    // records.
    void appendCSS(QString& css) override;
    // The background's fix-up rule for "#contentbox".
    void appendCSSWinIESuffix(QString& css, const QString& suffix) override;

protected:
    class TextHelper;

    // The first record named `name`; one is added when there is none.
    std::shared_ptr<XmlWebFont> fontNamed(const QString& name);
    // The box at the foot of the page (the footer), not the page's text box.
    bool isFooter() const;
    // The template this box belongs to, or nothing.
    XmlStyleSheet* sheet() const;
    bool browserFlow() const;
    // The page element whose stored text the box shows: the page's own
    // text, the site's footer for the footer.
    XmlBase* textSource(XmlBase* page) const;
    // The text storage, layout manager and wrapping container, when missing.
    void createTextLayoutStuff();
    // The bottom of the laid-out text in the text area.
    int textBottom() const;
    // The paragraph elements of the whole text, for the flowing page.
    void appendFlowParagraphs(QString& html);
    // Every line piece as a positioned paragraph element, in its division.
    void appendPositionedLines(QString& html);
    // The page passes: the font checks of the site script, the box, the
    // text's lines, and the steps.
    void appendFontChecks(QString& html);
    void appendBox(QString& html);
    void appendText(QString& html);
    void appendSteps(QString& html);
    // The runs with their inline tags, each closed before a later run opens
    // what it needs (flow: tabs as blanks).
    void appendRunsOfText(QString& html, const lq::StyledText& text, bool flow);
    // Gives the document's rich-text editor the view, the fonts and line
    // spacings of the paragraph kinds and the page's text (nothing when the
    // document has no editor).
    void handTextToEditor(lq::TextView* textView);
    // The text element that reads the stored text and writes the runs of
    // paragraphs; made on first use.
    XmlWebText& textHelper();
    // Shows the link of the range string in the record's colour (none:
    // takes the shown colour away) and redraws the box.
    void showLinkColour(const QString& data, const lq::Colour& (XmlWebFont::*colour)() const);

    // The concrete font of a paragraph type, as the last full layout made it
    // (any other type: the default record's).
    const std::optional<lq::Font>& paragraphFont(int type) const;

    // The concrete fonts of the six records, made at each full layout.
    std::optional<lq::Font> normalFont;
    std::optional<lq::Font> headingFont;
    std::optional<lq::Font> subheadingFont;
    std::optional<lq::Font> captionFont;
    std::optional<lq::Font> alternateFont;
    std::optional<lq::Font> alternate2Font;
    // The wrapping container, owned through the layout manager.
    std::shared_ptr<QZTextContainer> _stc;
    // Reads the text and writes the runs of paragraphs (with the stack of
    // open inline tags and the links read).
    std::shared_ptr<TextHelper> _text;
    // The floating rectangles put aside while the text is edited in place.
    std::optional<QStringList> _floatsWhileEditing;
    bool _editing = false;
    // The document's editor while it edits the text in place.
    TextEditorBase* _textEditor = nullptr;
    bool _fontsHaveLinkData = false;
    bool _underlineLinks = true;
    lq::Colour _linkNormal = lq::Colour(0, 0, 0.5f, 1);
    lq::Colour _linkHover = lq::Colour(0, 0, 0.7f, 1);
    lq::Colour _linkVisited = lq::Colour(0.2f, 0.2f, 0.2f, 1);
    lq::Rect _pageBounds;
    bool _extendPage = false;
    int _textContentsHeight = 0;
    int _normalLS = 0;
    int _headingLS = 0;
};
