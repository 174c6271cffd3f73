#include "templates/XmlWebFont.h"

#include "platform/ExceptionFrame.h"
#include "platform/Log.h"
#include "platform/Strings.h"
#include "platform/ValueStrings.h"

#include <array>

using namespace lq::literals;

namespace {

// The CSS family list offered to the page's browser for each face, in the
// order of the face numbers (the order of the text system's face table).
constexpr std::array<const char*, 12> familyLists {
    "Helvetica, Arial, sans-serif;",
    "Monaco, \"Lucida Console\", monospace;",
    "\"Arial Black\", sans-serif;",
    "Geneva, Tahoma, sans-serif;",
    "Verdana, sans-serif;",
    "\"Comic Sans MS\", cursive;",
    "\"Courier New\", monospace;",
    "\"Trebuchet MS\", sans-serif;",
    "Georgia, Century, serif;",
    "\"Times New Roman\", Times, serif;",
    "Impact, fantasy;",
    "\"Andale Mono\", \"Lucida Console\", monospace;",
};

// The face number as the tables use it: one outside the table is 0.
std::size_t faceIndex(int face)
{
    return face >= 0 && static_cast<std::size_t>(face) < familyLists.size() ? static_cast<std::size_t>(face) : 0;
}

// The face asked for, when its family is on this machine.
std::optional<lq::Font> installedFont(const QString& face, int size)
{
    std::optional<lq::Font> font = lq::Font::withName(face, size);
    if (font && !font->isInstalled())
        font.reset();
    return font;
}

} // namespace

XmlWebFont::XmlWebFont(Key key)
    : XmlCSS(key)
{
}

std::shared_ptr<XmlWebFont> XmlWebFont::create()
{
    return make<XmlWebFont>();
}

std::shared_ptr<XmlWebFont> XmlWebFont::createWithTagName(const QString&, const QString& name)
{
    return lq::classFrame("XmlWebFont +createWithTag:name:", [&] {
        std::shared_ptr<XmlWebFont> record = create();
        record->setName(name);
        return record;
    });
}

QString XmlWebFont::elementName() const
{
    return QStringLiteral("cssFont");
}

// --- Element protocol --------------------------------------------------------------------------

void XmlWebFont::setAttributeTo(const QString& key, const QString& value)
{
    lq::modelFrame(this, "setAttribute:to:", [&] {
        const auto colour = [&] { return lq::stringToColor(value).value_or(lq::Colour::black()); };
        if (key == u"font"_sv)
            setFont(lq::intValue(value));
        else if (key == u"fontSize"_sv)
            setFontSize(lq::intValue(value));
        else if (key == u"fontColor"_sv)
            setFontColor(colour());
        else if (key == u"underline"_sv)
            setUnderline(lq::intValue(value) != 0);
        else if (key == u"bold"_sv)
            setBold(lq::intValue(value) != 0);
        else if (key == u"italic"_sv)
            setItalic(lq::intValue(value) != 0);
        else if (key == u"alignment"_sv)
            setAlignment(static_cast<Alignment>(lq::intValue(value)));
        else if (key == u"linespacing"_sv)
            setLineSpacing(lq::intValue(value));
        else if (key == u"underlineLinks"_sv)
            setUnderlineLinks(lq::intValue(value) != 0);
        else if (key == u"linkNormal"_sv)
            setLinkNormal(colour());
        else if (key == u"linkHover"_sv)
            setLinkHover(colour());
        else if (key == u"linkClicked"_sv)
            setLinkClicked(colour());
        else
            XmlCSS::setAttributeTo(key, value);
    });
}

void XmlWebFont::appendAttributes(QString& xml)
{
    lq::modelFrame(this, "appendAttributes:", [&] {
        XmlCSS::appendAttributes(xml);
        xml += QString::asprintf(" font=\"%d\" fontSize=\"%d\"", _font, _fontSize);
        xml += QStringLiteral(" fontColor=\"%1\"").arg(lq::colorToCSSString(_fontColor));
        xml += QString::asprintf(" underline=\"%d\" bold=\"%d\" italic=\"%d\" alignment=\"%d\"", _underline ? 1 : 0,
                                 _bold ? 1 : 0, _italic ? 1 : 0, static_cast<int>(_alignment));
        xml += QString::asprintf(" linespacing=\"%d\"", _linespacing);
        xml += QString::asprintf(" lineHeight=\"%d\"", lineHeight());
        xml += QString::asprintf(" underlineLinks=\"%d\"", _underlineLinks ? 1 : 0);
        xml += QStringLiteral(" linkNormal=\"%1\"").arg(lq::colorToCSSString(_linkNormal));
        xml += QStringLiteral(" linkHover=\"%1\"").arg(lq::colorToCSSString(_linkHover));
        xml += QStringLiteral(" linkClicked=\"%1\"").arg(lq::colorToCSSString(_linkClicked));
    });
}

// --- Stored values -----------------------------------------------------------------------------

void XmlWebFont::setFont(int face)
{
    setStored(_font, face, "setFont:");
}

void XmlWebFont::setFontSize(int size)
{
    setStored(_fontSize, size, "setFontSize:");
}

void XmlWebFont::setFontColor(const lq::Colour& colour)
{
    setStored(_fontColor, colour, "setFontColor:");
}

void XmlWebFont::setUnderline(bool underline)
{
    setStored(_underline, underline, "setUnderline:");
}

void XmlWebFont::setItalic(bool italic)
{
    setStored(_italic, italic, "setItalic:");
}

void XmlWebFont::setBold(bool bold)
{
    setStored(_bold, bold, "setBold:");
}

lq::TextAlignment XmlWebFont::textAlignment() const
{
    switch (_alignment) {
    case Alignment::Center:
        return lq::TextAlignment::Center;
    case Alignment::Right:
        return lq::TextAlignment::Right;
    default:
        return lq::TextAlignment::Left;
    }
}

void XmlWebFont::setAlignment(Alignment alignment)
{
    setStored(_alignment, alignment, "setAlignment:");
}

void XmlWebFont::setLineSpacing(int spacing)
{
    setStored(_linespacing, spacing, "setLineSpacing:");
}

void XmlWebFont::setUnderlineLinks(bool underline)
{
    setStored(_underlineLinks, underline, "setUnderlineLinks:");
}

void XmlWebFont::setLinkNormal(const lq::Colour& colour)
{
    setStored(_linkNormal, colour, "setLinkNormal:");
}

void XmlWebFont::setLinkHover(const lq::Colour& colour)
{
    setStored(_linkHover, colour, "setLinkHover:");
}

void XmlWebFont::setLinkClicked(const lq::Colour& colour)
{
    setStored(_linkClicked, colour, "setLinkClicked:");
}

// --- Fonts -------------------------------------------------------------------------------------

QString XmlWebFont::fontface() const
{
    return lq::modelFrame(this, "fontface", [&] {
        static const QStringList faces = lq::Font::faceNames();
        return faces.at(static_cast<qsizetype>(faceIndex(_font)));
    });
}

std::optional<lq::Font> XmlWebFont::createFont() const
{
    return lq::modelFrame(this, "createFont", [&]() -> std::optional<lq::Font> {
        std::optional<lq::Font> font = installedFont(fontface(), _fontSize);
        if (!font)
            font = installedFont(QStringLiteral("Helvetica"), _fontSize);
        if (!font) {
            lq::log(QStringLiteral("No Helvetica Font installed"));
            return std::nullopt;
        }
        if (_bold)
            font = font->withBold(true);
        if (_italic)
            font = font->withItalic(true);
        return font;
    });
}

int XmlWebFont::lineHeight() const
{
    const std::optional<lq::Font> font = createFont();
    return font ? static_cast<int>(font->defaultLineHeight()) : 0;
}

// --- CSS ---------------------------------------------------------------------------------------

void XmlWebFont::appendCSSFontParameters(QString& css)
{
    lq::modelFrame(this, "appendCSSFontParameters:", [&] { appendCSSFontParametersWithColor(css, _fontColor); });
}

QString XmlWebFont::cssFontFamily() const
{
    return QLatin1String(familyLists[faceIndex(_font)]);
}

void XmlWebFont::appendCSSFontParametersWithColor(QString& css, const lq::Colour& colour)
{
    lq::modelFrame(this, "appendCSSFontParameters:withColor:", [&] {
        css += QStringLiteral("font-family: ");
        css += cssFontFamily();
        css += QLatin1Char(' ');
        css += QString::asprintf("font-size: %dpx; ", _fontSize);
        css += QString::asprintf("line-height: %dpx; ", lineHeight());
        css += QStringLiteral("font-style: %1; ").arg(_italic ? QStringLiteral("italic") : QStringLiteral("normal"));
        css += QStringLiteral("font-weight: %1; ").arg(_bold ? QStringLiteral("bold") : QStringLiteral("normal"));
        css += QStringLiteral("text-decoration: %1; ")
                   .arg(_underline ? QStringLiteral("underline") : QStringLiteral("none"));
        css += QStringLiteral("color: %1; ").arg(lq::colorToCSSString(colour));
    });
}

void XmlWebFont::appendCSSBoxFont(QString& css)
{
    lq::modelFrame(this, "appendCSSBoxFont:", [&] {
        css += QStringLiteral("text-align: ");
        if (_alignment == Alignment::Center)
            css += QStringLiteral("center; ");
        else if (_alignment == Alignment::Right)
            css += QStringLiteral("right; ");
        else
            css += QStringLiteral("left; ");
    });
}

void XmlWebFont::appendCSSLinkParametersTag(QString& css, const QString& tag)
{
    lq::modelFrame(this, "appendCSSLinkParameters:tag:", [&] {
        css += QStringLiteral("%1 a {").arg(tag);
        css += QStringLiteral("text-decoration: %1; color: %2;")
                   .arg(_underlineLinks ? QStringLiteral("underline") : QStringLiteral("none"),
                        lq::colorToCSSString(_linkNormal));
        css += QStringLiteral("}\n");
        css += QStringLiteral("%1 a:hover {").arg(tag);
        css += QStringLiteral("color: %1;").arg(lq::colorToCSSString(_linkHover));
        css += QStringLiteral("}\n");
        css += QStringLiteral("%1 a:active {").arg(tag);
        css += QStringLiteral("color: %1;").arg(lq::colorToCSSString(_linkClicked));
        css += QStringLiteral("}\n");
    });
}
