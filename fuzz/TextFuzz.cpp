// Caption scanning, the text escapes, the value strings and content texts:
// no crash or hang, no blow-up of the output, and the round trips that must
// hold.
#include "FuzzSupport.h"

#include "model/core/XmlBase.h"
#include "model/core/XmlTextFormat.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlPhoto.h"
#include "model/site/XmlCaption.h"
#include "platform/Colour.h"
#include "platform/Escaping.h"
#include "platform/Geometry.h"
#include "platform/ValueStrings.h"

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

// The caption text of a photo (a content text) written with its album and
// read back is the text itself when the format carries it whole, and the
// photo after it keeps its own; whatever the text, one save makes it stable.
QString captionOf(const XmlBasePtr& photo)
{
    const auto* read = XmlPhoto::cast(photo.get());
    return read ? read->caption()->content() : QStringLiteral("(no photo)");
}

void checkContent(const QString& input)
{
    const auto album = XmlAlbum::create();
    const auto photo = XmlPhoto::create();
    photo->caption()->setContent(input);
    const auto after = XmlPhoto::create();
    after->caption()->setContent(QStringLiteral("after"));
    album->addChild(photo);
    album->addChild(after);
    const QString once = album->createXml();
    const XmlBasePtr back = XmlBase::createWithXmlRootDir(once, QString());
    if (!back || back->numberChildren() != 2)
        fuzz::fail("a content text breaks its element", input, once);
    if (captionOf(back->children().last()) != QStringLiteral("after"))
        fuzz::fail("a content text reaches into the next element", input, once);
    if (XmlTextFormat::carriesWhole(input) && captionOf(back->firstChild()) != input)
        fuzz::fail("a content text comes back changed", input, captionOf(back->firstChild()));
    const QString twice = back->createXml();
    const XmlBasePtr again = XmlBase::createWithXmlRootDir(twice, QString());
    if (!again || again->createXml() != twice)
        fuzz::fail("a content text is not stable after one save", twice, again ? again->createXml() : QString());
}

} // namespace

void fuzzOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString input = fuzz::text(data, size);

    const auto caption = XmlCaption::create();
    caption->setContent(input);
    checkGrowth("short caption", input, caption->shortCaption());
    checkGrowth("long caption", input, caption->longCaption());

    checkGrowth("escape", input, lq::escape(input));
    checkGrowth("unescape", input, lq::unescape(input));
    checkGrowth("escapeForDemo", input, lq::escapeForDemo(input));
    checkGrowth("javascriptEscape", input, lq::javascriptEscape(input));
    checkGrowth("doubleQuoteEscape", input, lq::doubleQuoteEscape(input));
    checkGrowth("paramEscape", input, lq::paramEscape(input));
    checkGrowth("magicLinkMaker", input, lq::magicLinkMaker(input));
    checkGrowth("reverseWord", input, lq::reverseWord(input));
    const QString url = lq::urlEscape(input);
    checkGrowth("urlescape", input, url);
    checkGrowth("urlunescape", input, lq::urlUnescape(input));
    if (lq::urlUnescape(url) != input)
        fuzz::fail("lq::urlUnescape(lq::urlEscape(x)) differs from x", input, lq::urlUnescape(url));

    // Value strings: whatever a text reads as writes a text that reads back the same.
    if (const std::optional<lq::Colour> colour = lq::stringToColor(input)) {
        checkStable("colour", *colour, &lq::colorToString, [](const QString& t) { return lq::stringToColor(t).value_or(lq::Colour()); });
        lq::colorToCSSString(*colour);
    }
    checkStable("rectangle", lq::stringToRect(input), &lq::rectToString, &lq::stringToRect);
    checkStable("point", lq::stringToPoint(input), &lq::pointToString, &lq::stringToPoint);
    checkStable("size", lq::stringToSize(input), &lq::sizeToString, &lq::stringToSize);
    checkStable("boolean", lq::stringToBool(input), &lq::boolToString, &lq::stringToBool);
    lq::hexString(input);

    checkContent(input);
}
