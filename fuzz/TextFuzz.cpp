// Caption scanning, the text escapes and the value strings: no crash or
// hang, no blow-up of the output, and the round trips that must hold.
#include "FuzzSupport.h"

#include "model/core/XmlBase.h"
#include "model/site/XmlCaption.h"
#include "platform/Colour.h"
#include "platform/Geometry.h"

namespace {

// No escape makes more than this of a text: the longest replacement is a
// character's UTF-8 bytes, each percent-escaped ("%XX%XX%XX%XX").
void checkGrowth(const char* what, const QString& input, const QString& output)
{
    if (output.size() > 12 * input.size() + 16)
        fuzz::fail(what, input, output);
}

// A value written, read and written again gives the same text.
template <typename Value, typename Write, typename Read>
void checkStable(const char* what, const Value& value, Write write, Read read)
{
    const QString once = write(value);
    const QString twice = write(read(once));
    if (twice != once)
        fuzz::fail(what, once, twice);
}

} // namespace

void fuzzOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString input = fuzz::text(data, size);

    const auto caption = XmlCaption::create();
    caption->setContent(input);
    checkGrowth("short caption", input, caption->shortCaption());
    checkGrowth("long caption", input, caption->longCaption());

    checkGrowth("escape", input, XmlBase::escape(input));
    checkGrowth("unescape", input, XmlBase::unescape(input));
    checkGrowth("escapeForDemo", input, XmlBase::escapeForDemo(input));
    checkGrowth("javascriptEscape", input, XmlBase::javascriptEscape(input));
    checkGrowth("doubleQuoteEscape", input, XmlBase::doubleQuoteEscape(input));
    checkGrowth("paramEscape", input, XmlBase::paramEscape(input));
    checkGrowth("magicLinkMaker", input, XmlBase::magicLinkMaker(input));
    checkGrowth("reverseWord", input, XmlBase::reverseWord(input));
    const QString url = XmlBase::urlescape(input);
    checkGrowth("urlescape", input, url);
    checkGrowth("urlunescape", input, XmlBase::urlunescape(input));
    if (XmlBase::urlunescape(url) != input)
        fuzz::fail("urlunescape(urlescape(x)) differs from x", input, XmlBase::urlunescape(url));

    // Value strings: whatever a text reads as writes a text that reads back the same.
    if (const std::optional<lq::Colour> colour = XmlBase::stringToColor(input)) {
        checkStable("colour", *colour, &XmlBase::colorToString, [](const QString& t) { return XmlBase::stringToColor(t).value_or(lq::Colour()); });
        XmlBase::colorToCSSString(*colour);
    }
    checkStable("rectangle", XmlBase::stringToRect(input), &XmlBase::rectToString, &XmlBase::stringToRect);
    checkStable("point", XmlBase::stringToPoint(input), &XmlBase::pointToString, &XmlBase::stringToPoint);
    checkStable("size", XmlBase::stringToSize(input), &XmlBase::sizeToString, &XmlBase::stringToSize);
    checkStable("boolean", XmlBase::stringToBOOL(input), &XmlBase::BOOLToString, &XmlBase::stringToBOOL);
    XmlBase::hexString(input);
}
