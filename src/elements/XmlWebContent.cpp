// The content box's stored form: attributes, the font records of its
// paragraph kinds, and the page's text read from and written to its
// stored rich-text form.
#include "elements/XmlWebContent.h"

#include "elements/StoredTextTokenizer.h"
#include "elements/XmlWebText.h"
#include "platform/ExceptionFrame.h"
#include "platform/Strings.h"
#include "platform/ValueStrings.h"
#include "platform/text/StyledText.h"
#include "templates/XmlStyleSheet.h"
#include "templates/XmlWebFont.h"

using namespace lq::literals;

namespace {

// Record names by paragraph type.
const QString& recordName(int type)
{
    static const QString names[] = { QStringLiteral("default"), QStringLiteral("Content Heading"),
                                     QStringLiteral("Content Subheading"), QStringLiteral("Content Caption"),
                                     QStringLiteral("Content Alternate"), QStringLiteral("Content Alternate2") };
    return names[type >= 0 && type <= 5 ? type : 0];
}

} // namespace

XmlWebContent::XmlWebContent(Key key)
    : XmlBoxModel(key)
{
    _heightFixed = true;
    _widthFixed = true;
    _absolute = true;
}

std::shared_ptr<XmlWebContent> XmlWebContent::create()
{
    return make<XmlWebContent>();
}

QString XmlWebContent::elementName() const
{
    return QStringLiteral("cssWebContent");
}

bool XmlWebContent::enabled()
{
    return true;
}

bool XmlWebContent::isFooter() const
{
    return pageRole() == PageRole::Foot;
}

XmlStyleSheet* XmlWebContent::sheet() const
{
    return XmlStyleSheet::cast(_parent);
}

bool XmlWebContent::browserFlow() const
{
    XmlStyleSheet* owner = sheet();
    return owner && owner->browserFlow();
}

// --- Stored form -------------------------------------------------------------------------------

void XmlWebContent::setAttributeTo(const QString& key, const QString& value)
{
    lq::modelFrame(this, "setAttribute:to:", [&] {
        if (key == u"underlineLinks"_sv)
            _underlineLinks = lq::intValue(value) != 0;
        else if (key == u"linkNormal"_sv)
            _linkNormal = lq::stringToColor(value).value_or(lq::Colour::black());
        else if (key == u"linkHover"_sv)
            _linkHover = lq::stringToColor(value).value_or(lq::Colour::black());
        else if (key == u"linkVisited"_sv)
            _linkVisited = lq::stringToColor(value).value_or(lq::Colour::black());
        else if (key == u"fontsHaveData"_sv)
            _fontsHaveLinkData = true;
        else if (key == u"extendPage"_sv)
            setExtendPage(lq::intValue(value) != 0);
        else if (key == u"normalLS"_sv)
            _normalLS = lq::intValue(value);
        else if (key == u"headingLS"_sv)
            _headingLS = lq::intValue(value);
        else
            XmlBoxModel::setAttributeTo(key, value);
    });
}

void XmlWebContent::appendAttributes(QString& xml)
{
    lq::modelFrame(this, "appendAttributes:", [&] {
        XmlBoxModel::appendAttributes(xml);
        xml += QString::asprintf(" underlineLinks=\"%d\"", underlineLinks() ? 1 : 0);
        xml += QStringLiteral(" linkNormal=\"") + lq::colorToCSSString(linkNormal()) + u'"';
        xml += QStringLiteral(" linkHover=\"") + lq::colorToCSSString(linkHover()) + u'"';
        xml += QStringLiteral(" linkVisited=\"") + lq::colorToCSSString(linkVisited()) + u'"';
        xml += QStringLiteral(" fontsHaveData=\"1\"");
        xml += QString::asprintf(" extendPage=\"%d\"", _extendPage ? 1 : 0);
    });
}

void XmlWebContent::newDocument()
{
    lq::modelFrame(this, "newDocument", [&] {
        addFontName(QString(), QStringLiteral("Content Heading"))->setFontSize(16);
        XmlBoxModel::newDocument();
    });
}

void XmlWebContent::postload()
{
    lq::modelFrame(this, "postload", [&] {
        if (_normalLS != 0) {
            font()->setLineSpacing(_normalLS);
            _normalLS = 0;
        }
        if (_headingLS != 0) {
            heading()->setLineSpacing(_headingLS);
            _headingLS = 0;
        }
        if (!_fontsHaveLinkData) {
            for (const std::shared_ptr<XmlWebFont>& record : { font(), heading(), subheading(), caption() }) {
                record->setUnderlineLinks(_underlineLinks);
                record->setLinkNormal(_linkNormal);
                record->setLinkHover(_linkHover);
                record->setLinkClicked(_linkVisited);
            }
        }
        for (const std::shared_ptr<XmlWebFont>& record : { font(), heading() }) {
            record->setBold(false);
            record->setUnderline(false);
            record->setItalic(false);
        }
        XmlBoxModel::postload();
    });
}

// --- Font records ------------------------------------------------------------------------------

std::shared_ptr<XmlWebFont> XmlWebContent::fontNamed(const QString& name)
{
    return lq::modelFrame(this, "fontNamed:", [&] {
        for (const XmlBasePtr& child : children()) {
            if (XmlWebFont::cast(child.get()) && child->name() == name)
                return std::static_pointer_cast<XmlWebFont>(child);
        }
        return addFontName(QString(), name);
    });
}

std::shared_ptr<XmlWebFont> XmlWebContent::heading() { return fontNamed(recordName(1)); }
std::shared_ptr<XmlWebFont> XmlWebContent::subheading() { return fontNamed(recordName(2)); }
std::shared_ptr<XmlWebFont> XmlWebContent::caption() { return fontNamed(recordName(3)); }
std::shared_ptr<XmlWebFont> XmlWebContent::alternate() { return fontNamed(recordName(4)); }
std::shared_ptr<XmlWebFont> XmlWebContent::alternate2() { return fontNamed(recordName(5)); }

std::shared_ptr<XmlWebFont> XmlWebContent::fontForType(int type)
{
    return type >= 1 && type <= 5 ? fontNamed(recordName(type)) : font();
}

bool XmlWebContent::underlineLinks() { return font()->underlineLinks(); }
lq::Colour XmlWebContent::linkNormal() { return font()->linkNormal(); }
lq::Colour XmlWebContent::linkHover() { return font()->linkHover(); }
lq::Colour XmlWebContent::linkVisited() { return font()->linkClicked(); }

void XmlWebContent::setExtendPage(bool extend)
{
    setStored(_extendPage, extend, "setExtendPage:");
}

// --- Reading and writing the text -------------------------------------------------------------

// The text element that reads the box's stored text and writes the runs of
// its paragraphs, as every text element reads and writes them. Particular to
// the box: each paragraph takes the font record of its tag, aligned left
// unless its attributes say otherwise, and links take the record's link
// colour, underlined as the record says. An owned part of the box (never one
// of its children), so that page numbers of links are looked up in the box's
// document.
class XmlWebContent::TextHelper : public XmlWebText {
public:
    explicit TextHelper(Key key)
        : XmlWebText(key)
    {
    }
    static std::shared_ptr<TextHelper> create(XmlWebContent& box)
    {
        auto helper = make<TextHelper>();
        helper->_box = &box;
        helper->setParent(&box);
        return helper;
    }

    void setUpParagraphAlignmentTag(const QString& attributes, lq::TextAlignment, const QString& tag) override
    {
        lq::modelFrame(this, "setUpParagraph:alignment:tag:", [&] {
            XmlWebText::setUpParagraphAlignmentTag(attributes, lq::TextAlignment::Left, tag);
            const int type = paragraphKindForTag(tag);
            currentWebFont = _box->fontForType(type);
            currentFont = _box->paragraphFont(type);
            paragraphType = type;
            pstyle.lineSpacing = currentWebFont->lineSpacing();
        });
    }

protected:
    bool linksFollowRecordStyle() const override { return true; }

private:
    XmlWebContent* _box = nullptr;
};

const std::optional<lq::Font>& XmlWebContent::paragraphFont(int type) const
{
    switch (type) {
    case 1:
        return headingFont;
    case 2:
        return subheadingFont;
    case 3:
        return captionFont;
    case 4:
        return alternateFont;
    case 5:
        return alternate2Font;
    default:
        return normalFont;
    }
}

XmlWebContent::~XmlWebContent()
{
    // The helper may outlive the box in other hands; it must not point back at it.
    if (_text)
        _text->setParent(nullptr);
}

XmlWebText& XmlWebContent::textHelper()
{
    if (!_text)
        _text = TextHelper::create(*this);
    return *_text;
}

lq::StyledText XmlWebContent::getAttributedStringWithAlignment(const QString& text, bool)
{
    // The layout always asks for alignment: each paragraph is aligned as its
    // attributes say.
    return lq::modelFrame(this, "getAttributedString:withAlignment:", [&] {
        XmlWebText& helper = textHelper();
        helper.clearLinks();
        return helper.getAttributedStringWithAlignmentAttr(text, lq::TextAlignment::Left, 0);
    });
}

const QStringList& XmlWebContent::links()
{
    return textHelper().links();
}
