#pragma once

#include "elements/StoredTextTokenizer.h"
#include "platform/text/StyledText.h"
#include "templates/XmlBoxModel.h"

#include <QStringList>
#include <QVariant>

#include <functional>
#include <optional>
#include <vector>

class XmlWebFont;

// The base of the page elements whose text is laid out with the text system
// (the masthead and page-title box, the Vorn Box, the photo album and the
// slideshow). It adds to the box model the link settings, the first-line
// option, the reader that turns stored rich text into styled text, and the
// writers of positioned HTML: every laid-out line, cut at its tabs, becomes
// an absolutely positioned element of its own.
//
// Styled text that the reader makes carries, besides font, colour, underline
// and paragraph style, "QZType" (the paragraph kind, 0 here),
// "QZLinkLocation" and "QZLinkNewWindow" on link runs.
//
// Its start tag holds the box model's attributes, then underlineLinks,
// linkNormal, linkHover, linkVisited (the font record's values, colours as
// CSS hex colours), firstline and fontsHaveData="1". The element name
// "cssWebText" is written, but no factory entry makes a bare text element.
class XmlWebText : public XmlBoxModel {
public:
    explicit XmlWebText(Key key);

    static std::shared_ptr<XmlWebText> create();
    static XmlWebText* cast(XmlBase* object) { return dynamic_cast<XmlWebText*>(object); }

    QString elementName() const override;
    // "underlineLinks" (integer), "linkNormal", "linkHover", "linkVisited"
    // (colours; unreadable text gives black), "normalLS" (integer, the legacy
    // line spacing), "firstline" (non-zero is on) and "fontsHaveData" (present
    // is enough); everything else goes to the box model. None of them marks
    // the document changed.
    void setAttributeTo(const QString& key, const QString& value) override;
    void appendAttributes(QString& xml) override;
    // Moves a legacy line spacing into the font record and, for files that
    // predate link settings in font records, the element's link settings too.
    void postload() override;

    // --- Link settings: read from the font record, written to the element ---------
    bool underlineLinks();
    void setUnderlineLinks(bool underline) { _underlineLinks = underline; }
    lq::Colour linkNormal();
    void setLinkNormal(const lq::Colour& colour) { _linkNormal = colour; }
    lq::Colour linkHover();
    void setLinkHover(const lq::Colour& colour) { _linkHover = colour; }
    // The record's clicked-link colour.
    lq::Colour linkVisited();
    void setLinkVisited(const lq::Colour& colour) { _linkVisited = colour; }

    bool firstLine() const { return _firstLine; }
    void setFirstLine(bool firstLine);

    bool enabled() override;
    // Subclasses build their text objects here.
    virtual void createTextLayoutStuff();

    // --- Reading stored rich text ---------------------------------------------------
    // The styled text of stored rich text, each paragraph with the default
    // alignment unless its attributes say otherwise, every run starting with
    // the inline bits. The caller sets normalFont first (from the element's
    // font record). Link ranges read are added to links().
    lq::StyledText getAttributedStringWithAlignmentAttr(const QString& text, lq::TextAlignment alignment, int bits);
    // Prepares pstyle, the current font and record and the paragraph kind
    // for a paragraph with the attribute text and tag name.
    virtual void setUpParagraphAlignmentTag(const QString& attributes, lq::TextAlignment alignment, const QString& tag);
    // Appends one run: raw text (unescaped here) with the inline bits, the
    // link (a string address, an int page number, or nothing) and the
    // new-window flag.
    virtual void appendTextWithAttributesInStringWithLinkNewWindow(const QString& raw, int bits, lq::StyledText& text,
                                                                   const QVariant& link, int newWindow);
    // A true flag appends "\n" as a plain run (between paragraphs).
    void doLastAppendInString(bool flag, lq::StyledText& text);
    // Reads an "a" element's attribute text into currentlink and currentNewWindow.
    void getLink(const QString& attributes);
    void addLinkStart(quint32 position);
    void addLinkEnd(quint32 position);
    // The character range of each link read, "{location, length}", in reading order.
    const QStringList& links() const { return _links; }
    void clearLinks() { _links.clear(); }

    // The fonts and record the reader works with.
    void setNormalFont(const std::optional<lq::Font>& font) { normalFont = font; }
    const std::optional<lq::Font>& getNormalFont() const { return normalFont; }

    // --- Inline tags of runs, for every writer of HTML from styled text ------------
    // The inline bits of a run: italic and bold from its font, underline,
    // and the link (which drops underline). Sets currentlink and currentNewWindow.
    int getHTMLtags(const lq::TextAttributes& attributes);
    void pushStack(int bit);
    // The last bit pushed; 0 when the stack is empty.
    int popStack();
    const QVariant& currentLink() const { return currentlink; }
    // The text made safe inside a double-quoted attribute: "&", '"', "<" and
    // ">" become entities. An address "?a=1&b=2" is written "?a=1&amp;b=2",
    // as HTML wants it (a bare "&b" starts an entity the page does not
    // define); the browser reads the address back as it stands.
    static QString attributeEscape(const QString& text);
    int currentNewWindowFlag() const { return currentNewWindow; }

    // --- Positioned HTML from laid-out text -------------------------------------------
    // One element per line piece of the layout manager's first text
    // container, each spanning the bounding rectangle's width at the piece's
    // line top; the paragraph alignment places the text inside.
    void appendHTMLFromLayoutManagerPrePostBounding(QString& html, lq::LayoutManager* layoutManager, const QString& pre,
                                                    const QString& post, const lq::Rect& bounding);
    // One element per line piece at the piece's own place moved by the
    // offset; an id in pre goes on the first piece only.
    void appendHTMLFromLayoutManagerPrePostOffset(QString& html, lq::LayoutManager* layoutManager, const QString& pre,
                                                  const QString& post, const lq::Point& offset);
    // One paragraph block per line piece (right and centred pieces span the
    // element's inner width), carrying the page's font-check ids.
    void appendHTMLFromLayoutManagerOffset(QString& html, lq::LayoutManager* layoutManager, const lq::Point& offset);
    // pre, direction, ` style="top: Ypx; left:Xpx; width: Wpx;[ text-align: ...;]">`, runs, post.
    QString createHTMLfromAttributedStringInRectPrePost(const lq::StyledText& text, const lq::Rect& rect,
                                                        const QString& pre, const QString& post);
    // pre, direction, ` style="top: Ypx; left: Xpx;">`, runs, post.
    QString createHTMLfromAttributedStringAtXAtYPrePost(const lq::StyledText& text, int x, int y, const QString& pre,
                                                        const QString& post);
    // A paragraph block by the text's "QZType", with its font-check id.
    QString createHTMLfromAttributedStringAtXAtYWidth(const lq::StyledText& text, int x, int y, int width);
    // The runs of one piece with their inline tags, each closed before a
    // later run opens what it needs.
    void appendRunsOfString(QString& html, const lq::StyledText& text);

protected:
    // Whether link runs take the record's link colour and underline only as
    // the record says (the Vorn Box); otherwise they keep the text colour and
    // are always underlined.
    virtual bool linksFollowRecordStyle() const { return false; }
    // Gives pstyle the alignment, written left to right, then what the
    // paragraph's attribute text says: "dir=\"rtl\"", "class=\"center\"",
    // "class=\"right\"" (right wins over centre).
    void alignParagraph(const QString& attributes, lq::TextAlignment alignment);

    std::optional<lq::Font> normalFont;
    lq::ParagraphStyle pstyle;
    std::optional<lq::Font> currentFont;
    std::shared_ptr<XmlWebFont> currentWebFont;
    int paragraphType = 0;
    bool _fontsHaveLinkData = false;
    bool _underlineLinks = true;
    lq::Colour _linkNormal = lq::Colour(0, 0, 0.5f, 1);
    lq::Colour _linkHover = lq::Colour(0, 0, 0.7f, 1);
    lq::Colour _linkVisited = lq::Colour(0.2f, 0.2f, 0.2f, 1);
    std::vector<int> stack;
    QStringList _links;
    QVariant currentlink;
    int currentNewWindow = 0;
    bool _firstLine = false;
    int _normalLS = 0;

private:
    // Where a piece of a line goes: the piece's styled text and its
    // bounding rectangle in container coordinates.
    void walkLinePieces(lq::LayoutManager* layoutManager,
                        const std::function<void(const lq::StyledText&, const QRectF&)>& write);
    // " id=\"...\"" for the first block of a kind on the page, else "".
    QString fontCheckId(int kind);
};
