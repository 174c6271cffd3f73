#include "elements/XmlWebFooter.h"

#include "platform/ExceptionFrame.h"
#include "platform/Strings.h"
#include "platform/ValueStrings.h"
#include "platform/graphics/BezierPath.h"
#include "platform/graphics/GraphicsContext.h"
#include "templates/XmlStyleSheet.h"
#include "templates/XmlWebFont.h"

using namespace lq::literals;

XmlWebFooter::XmlWebFooter(Key key)
    : XmlWebContent(key)
{
    _heightFixed = true;
    _widthFixed = true;
    _absolute = true;
}

XmlWebFooter::~XmlWebFooter()
{
    // The snippet may outlive the footer in other hands; it must not point back at it.
    if (_htmlSnippet)
        _htmlSnippet->setParent(nullptr);
}

std::shared_ptr<XmlWebFooter> XmlWebFooter::create()
{
    return make<XmlWebFooter>();
}

QString XmlWebFooter::elementName() const
{
    return QStringLiteral("cssWebFooter");
}

// --- Stored form -------------------------------------------------------------------------------

void XmlWebFooter::setAttributeTo(const QString& key, const QString& value)
{
    lq::modelFrame(this, "setAttribute:to:", [&] {
        if (key == u"voffset"_sv)
            setVoffset(lq::intValue(value));
        else if (key == u"createdWith"_sv)
            setCreatedWith(lq::intValue(value) != 0);
        else if (key == u"viewCounter"_sv)
            setViewCounter(lq::intValue(value) != 0);
        else if (key == u"trog"_sv)
            setTrog(lq::intValue(value) != 0);
        else if (key == u"useHtmlSnippet"_sv)
            setUseHtmlSnippet(lq::intValue(value) != 0);
        else
            XmlWebContent::setAttributeTo(key, value);
    });
}

void XmlWebFooter::appendAttributes(QString& xml)
{
    lq::modelFrame(this, "appendAttributes:", [&] {
        XmlWebContent::appendAttributes(xml);
        xml += QString::asprintf(" voffset=\"%d\" createdWith=\"%d\" viewCounter=\"%d\"", voffset(), _createdWith ? 1 : 0,
                                 _viewCounter ? 1 : 0);
        xml += QString::asprintf(" useHtmlSnippet=\"%d\"", _useHtmlSnippet ? 1 : 0);
        xml += QString::asprintf(" trog=\"%d\"", _trog ? 1 : 0);
    });
}

XmlBase* XmlWebFooter::htmlSnippet()
{
    return lq::modelFrame(this, "htmlSnippet", [&] {
        if (!_htmlSnippet) {
            _htmlSnippet = XmlBase::create();
            _htmlSnippet->setParent(this);
            _htmlSnippet->setHaveContent(true);
            _htmlSnippet->setElementOverride(QStringLiteral("htmlSnippet"));
        }
        return _htmlSnippet.get();
    });
}

XmlBasePtr XmlWebFooter::createChildFromTag(const QString& tag)
{
    return lq::modelFrame(this, "createChildFromTag:", [&]() -> XmlBasePtr {
        if (tag == u"htmlSnippet"_sv) {
            htmlSnippet();
            return _htmlSnippet;
        }
        return XmlWebContent::createChildFromTag(tag);
    });
}

QString XmlWebFooter::writeXmlVorns()
{
    return lq::modelFrame(this, "writeXmlVorns", [&] {
        return XmlWebContent::writeXmlVorns() + htmlSnippet()->createXml();
    });
}

XmlBaseList XmlWebFooter::ownedParts() const
{
    XmlBaseList parts;
    if (_htmlSnippet)
        parts.append(_htmlSnippet);
    parts.append(XmlWebContent::ownedParts());
    return parts;
}

// --- Stored values -----------------------------------------------------------------------------

int XmlWebFooter::voffset() const
{
    return lq::modelFrame(this, "voffset", [&] {
        if (_trog && _voffset < 0)
            _voffset = 0;
        return _voffset;
    });
}

void XmlWebFooter::setVoffset(int offset)
{
    setStored(_voffset, offset, "setVoffset:");
}

void XmlWebFooter::setCreatedWith(bool createdWith)
{
    setStored(_createdWith, createdWith, "setCreatedWith:");
}

void XmlWebFooter::setViewCounter(bool viewCounter)
{
    setStored(_viewCounter, viewCounter, "setViewCounter:");
}

void XmlWebFooter::setTrog(bool pinned)
{
    setStored(_trog, pinned, "setTrog:");
}

void XmlWebFooter::setUseHtmlSnippet(bool use)
{
    setStored(_useHtmlSnippet, use, "setUseHtmlSnippet:");
}

// --- Placement ---------------------------------------------------------------------------------

int XmlWebFooter::calcTop() const
{
    return lq::modelFrame(this, "calcTop", [&] {
        if (_trog)
            return voffset();
        return lq::truncatedPixel(static_cast<double>(_pageBounds.y()) + _pageBounds.height() + voffset());
    });
}

void XmlWebFooter::setObjectRect(const lq::Rect& rect)
{
    lq::modelFrame(this, "setObjectRect:", [&] {
        if (absolute()) {
            if (_trog)
                setVoffset(lq::truncatedPixel(rect.y()));
            else
                setVoffset(lq::truncatedPixel(static_cast<double>(rect.y()) -
                                           (static_cast<double>(_pageBounds.y()) + _pageBounds.height())));
            setLeft(lq::truncatedPixel(rect.x()));
        }
        if (widthFixed())
            setWidth(lq::truncatedPixel(rect.width()));
        if (heightFixed())
            setHeight(lq::truncatedPixel(rect.height()));
        relayoutFlags(nullptr, 0);
    });
}

// --- Template CSS ------------------------------------------------------------------------------

void XmlWebFooter::appendCSS(QString& css)
{
    lq::modelFrame(this, "appendCSS:", [&] {
        const bool flow = browserFlow();
        css += QStringLiteral("#footerbox {");
        appendCSSBorders(css);
        appendCSSBackground(css);
        if (flow)
            appendCSSPadding(css);
        css += QStringLiteral("display: block; ");
        css += QStringLiteral("position: absolute; ");
        css += QStringLiteral("}\n");

        const bool positioned = !flow && !_useHtmlSnippet;
        const QString prefix = positioned ? QStringLiteral("#footer") : QStringLiteral("#footerbox");
        css += prefix + QStringLiteral(" p {");
        if (positioned)
            css += QStringLiteral("position: absolute; white-space: nowrap; display: block; margin: 0px; ");
        else
            css += QStringLiteral("margin: 0px; ");
        font()->appendCSSFontParameters(css);
        css += QStringLiteral("}\n");
        css += prefix + QStringLiteral(" a {");
        css += QStringLiteral("text-decoration: ") +
               (underlineLinks() ? QStringLiteral("underline") : QStringLiteral("none")) + QStringLiteral("; ");
        css += QStringLiteral("color: ") + lq::colorToCSSString(linkNormal()) + QStringLiteral("; ");
        css += QStringLiteral("}\n");
        css += prefix + QStringLiteral(" a:hover {");
        css += QStringLiteral("color: ") + lq::colorToCSSString(linkHover()) + QStringLiteral("; ");
        css += QStringLiteral("}\n");
        css += prefix + QStringLiteral(" a:active {");
        css += QStringLiteral("color: ") + lq::colorToCSSString(linkVisited()) + QStringLiteral("; ");
        css += QStringLiteral("}\n");

        css += QStringLiteral("div#createwithbox { padding: 0px; margin: 0px; border: 0px; }\n");
    });
}

void XmlWebFooter::appendCSSWinIESuffix(QString& css, const QString& suffix)
{
    lq::modelFrame(this, "appendCSSWinIE:suffix:", [&] {
        appendCSSWinIEBackgroundTagSuffix(css, QStringLiteral("#footerbox"), suffix);
    });
}

// --- Canvas ------------------------------------------------------------------------------------

void XmlWebFooter::drawObject()
{
    lq::modelFrame(this, "drawObject", [&] {
        if (!_useHtmlSnippet) {
            XmlWebContent::drawObject();
            return;
        }
        lq::Rect rect = objectRect();
        rect.size.height = static_cast<float>(actualHeight());
        XmlBoxModel::drawObject(rect);
        lq::GraphicsContext* context = lq::GraphicsContext::current();
        if (!context)
            return;
        // Diagonal hatching over the box: HTML that the canvas cannot show.
        const float x = rect.x();
        const float y = rect.y();
        const float w = rect.width();
        const float h = rect.height();
        lq::BezierPath path;
        for (float i = 0; i < w + h; i += 20) {
            path.moveTo(i <= w ? lq::Point(x + i, y) : lq::Point(x + w, y + i - w));
            path.lineTo(i <= h ? lq::Point(x, y + i) : lq::Point(x + i - h, y + h));
        }
        path.setLineWidth(1);
        path.setLineDash({ 2, 2 }, 0);
        context->setStrokeColor(lq::Colour(1, 1, 0, 1));
        path.stroke();
        path.setLineDash({ 2, 2 }, 2);
        context->setStrokeColor(lq::Colour::black());
        path.stroke();
    });
}

void XmlWebFooter::drawText()
{
    lq::modelFrame(this, "drawText", [&] {
        if (!_useHtmlSnippet)
            XmlWebContent::drawText();
    });
}
