#pragma once

#include "platform/text/Font.h"
#include "templates/XmlCSS.h"

#include <optional>

// The font record of a text-bearing page element: a face out of a fixed
// table of twelve web fonts, the size in pixels, colour, underline, bold,
// italic, alignment, line spacing and the three link colours. Its name says
// which font of its element it is ("default" for a box's main font).
//
// It becomes a font of the platform text system for the layout canvas
// (createFont) and CSS declarations for the template's style sheet. A face
// number outside the table behaves as 0 (Helvetica) everywhere but in the
// stored attribute.
//
// Its start tag holds v, v2, name, then font, fontSize, fontColor, underline,
// bold, italic, alignment, linespacing, lineHeight (the canvas font's line
// height, written for readers of the file and never read back),
// underlineLinks, linkNormal, linkHover and linkClicked. Colours are stored
// as CSS hex colours, so their alpha is not kept.
class XmlWebFont final : public XmlCSS {
public:
    explicit XmlWebFont(Key key);

    static std::shared_ptr<XmlWebFont> create();
    // A new record named `name`; the tag is not used.
    static std::shared_ptr<XmlWebFont> createWithTagName(const QString& tag, const QString& name);
    static XmlWebFont* cast(XmlBase* object) { return dynamic_cast<XmlWebFont*>(object); }

    QString elementName() const override;
    // "font", "fontSize", "alignment", "linespacing" (integers), "underline",
    // "bold", "italic", "underlineLinks" (0 is NO) and the four colours
    // ("#RRGGBB"; a text that is no colour gives black) through their setters.
    void setAttributeTo(const QString& key, const QString& value) override;
    void appendAttributes(QString& xml) override;

    // --- Stored values; every setter marks the document changed ------------------
    int font() const { return _font; }
    void setFont(int face);
    // In pixels on the page, points on the canvas.
    int fontSize() const { return _fontSize; }
    void setFontSize(int size);
    const lq::Colour& fontColor() const { return _fontColor; }
    void setFontColor(const lq::Colour& colour);
    bool underline() const { return _underline; }
    void setUnderline(bool underline);
    bool italic() const { return _italic; }
    void setItalic(bool italic);
    bool bold() const { return _bold; }
    void setBold(bool bold);
    // 1 centre, 2 right, anything else left.
    // The text alignment. A stored number outside them aligns left and is
    // written back as it was read.
    enum class Alignment : int { Left = 0, Center = 1, Right = 2 };
    Alignment alignment() const { return _alignment; }
    void setAlignment(Alignment alignment);
    // The record's alignment in the text system's terms: the one place the
    // record's codes (1 centre, 2 right) become text alignments (where 1 is
    // right and 2 centre).
    lq::TextAlignment textAlignment() const;
    // Added space between lines in points; the text elements give it to
    // their paragraph styles. It enters neither the CSS nor the font.
    int lineSpacing() const { return _linespacing; }
    void setLineSpacing(int spacing);
    bool underlineLinks() const { return _underlineLinks; }
    void setUnderlineLinks(bool underline);
    const lq::Colour& linkNormal() const { return _linkNormal; }
    void setLinkNormal(const lq::Colour& colour);
    const lq::Colour& linkHover() const { return _linkHover; }
    void setLinkHover(const lq::Colour& colour);
    const lq::Colour& linkClicked() const { return _linkClicked; }
    void setLinkClicked(const lq::Colour& colour);

    // The CSS family list of the record's face, ending with its ";".
    QString cssFontFamily() const;
    // The face name of the record's face ("Helvetica", "Times-Roman", ...).
    QString fontface() const;
    // The face at fontSize with the bold and italic traits. A face whose
    // family is not installed falls back to Helvetica; when Helvetica is not
    // installed either, "No Helvetica Font installed" is logged and there is
    // no font.
    std::optional<lq::Font> createFont() const;
    // The default line height of createFont's font, cut to a whole number; 0
    // without a font.
    int lineHeight() const;

    // --- CSS --------------------------------------------------------------------
    // appendCSSFontParametersWithColor with the record's own colour.
    void appendCSSFontParameters(QString& css);
    // "font-family: <family list> font-size: %dpx; line-height: %dpx;
    // font-style: ...; font-weight: ...; text-decoration: ...; color: #RRGGBB; "
    // with the colour given in place of the record's.
    void appendCSSFontParametersWithColor(QString& css, const lq::Colour& colour);
    // "text-align: center; ", "right; " or "left; ".
    void appendCSSBoxFont(QString& css);
    // The rules "<tag> a {...}", "<tag> a:hover {...}" and "<tag> a:active {...}".
    void appendCSSLinkParametersTag(QString& css, const QString& tag);

private:

    int _font = 0;
    int _fontSize = 14;
    lq::Colour _fontColor = lq::Colour(0, 0, 0, 1);
    bool _underline = false;
    bool _italic = false;
    bool _bold = false;
    Alignment _alignment = Alignment::Left;
    int _linespacing = 0;
    bool _underlineLinks = true;
    lq::Colour _linkNormal = lq::Colour(0, 0, 0.5f, 1);
    lq::Colour _linkHover = lq::Colour(0, 0, 0.7f, 1);
    lq::Colour _linkClicked = lq::Colour(0.2f, 0.2f, 0.2f, 1);
};
