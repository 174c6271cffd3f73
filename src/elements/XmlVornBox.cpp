// The Vorn Box's stored form and settings: its kind, the external item
// and its options, the layer, and the fonts it borrows from the content box.
#include "elements/XmlVornBox.h"

#include "elements/VornBoxHtml.h"
#include "elements/VornBoxPreview.h"
#include "elements/VornBoxText.h"
#include "elements/XmlWebContent.h"
#include "platform/ExceptionFrame.h"
#include "platform/PreviewView.h"
#include "platform/Strings.h"
#include "templates/XmlStyleSheet.h"
#include "templates/XmlWebFont.h"

namespace {

const QString& foreground()
{
    static const QString layer = QStringLiteral("Foreground");
    return layer;
}

} // namespace

XmlVornBox::XmlVornBox(Key key)
    : XmlWebText(key)
{
    _visible = 1;
    _visibleInSlideshow = 0;
    setHaveContent(true);
}

XmlVornBox::~XmlVornBox()
{
    // The snippet part may be held elsewhere; it must not point back here.
    if (_htmlSnippet)
        _htmlSnippet->setParent(nullptr);
}

std::shared_ptr<XmlVornBox> XmlVornBox::create()
{
    return make<XmlVornBox>();
}

// --- Identity ----------------------------------------------------------------------------------

QString XmlVornBox::elementName() const
{
    return QStringLiteral("cssVornBox");
}

QString XmlVornBox::name() const
{
    return QStringLiteral("Vorn Box");
}

QString XmlVornBox::fullname() const
{
    return _fullname.isNull() ? name() : _fullname;
}

void XmlVornBox::setFullname(const QString& fullname)
{
    setStored(_fullname, lq::orEmpty(fullname), "setFullname:");
}

QString XmlVornBox::uniquename() const
{
    return QStringLiteral("x") + QString::number(_vornSeqNum);
}

bool XmlVornBox::enabled()
{
    return true;
}

// --- Stored form -------------------------------------------------------------------------------

void XmlVornBox::setAttributeTo(const QString& key, const QString& value)
{
    lq::modelFrame(this, "setAttribute:to:", [&] {
        const int number = lq::intValue(value);
        if (key == u"type")
            setType(number);
        else if (key == u"vornSeqNum")
            setVornSeqNum(number);
        else if (key == u"scrollbars")
            setScrollbars(number != 0);
        else if (key == u"autostart")
            setAutostart(number != 0);
        else if (key == u"moviecontroller")
            setMoviecontroller(number != 0);
        else if (key == u"loopmovie")
            setLoopmovie(number != 0);
        else if (key == u"scale")
            setScale(number);
        else if (key == u"externalType")
            setExternalType(number);
        else if (key == u"newWindow")
            setNewWindow(number != 0);
        else if (key == u"hiddenQT")
            setHiddenQT(number);
        else if (key == u"wraps")
            setWrapsText(number != 0);
        else if (key == u"externalHTML")
            setExternalHTML(value);
        else if (key == u"fullname")
            setFullname(value);
        else if (key == u"clickLinkTo")
            setClickLinkTo(value);
        else if (key == u"rollOverImage")
            setRollOverImage(value);
        else if (key == u"zlocation")
            setZlocation(value);
        else if (key == u"qtSize")
            setQTSize(stringToSize(value));
        else if (key == u"baseSize")
            setBaseSize(stringToSize(value));
        else
            XmlWebText::setAttributeTo(key, value);
    });
}

void XmlVornBox::appendAttributes(QString& xml)
{
    lq::modelFrame(this, "appendAttributes:", [&] {
        XmlWebText::appendAttributes(xml);
        const auto text = [&](const char* attribute, const QString& value) {
            xml += QLatin1Char(' ') + QLatin1String(attribute) + QStringLiteral("=\"") + value + QLatin1Char('"');
        };
        const auto number = [&](const char* attribute, int value) { text(attribute, QString::number(value)); };
        number("vornSeqNum", _vornSeqNum);
        number("type", _type);
        text("externalHTML", escape(_externalHTML));
        text("fullname", escape(fullname()));
        number("scrollbars", _scrollbars ? 1 : 0);
        number("autostart", _autostart ? 1 : 0);
        number("moviecontroller", _moviecontroller ? 1 : 0);
        number("loopmovie", _loopmovie ? 1 : 0);
        number("scale", _scale);
        number("externalType", _externalType);
        text("clickLinkTo", escape(_clickLinkTo));
        text("rollOverImage", escape(_rollOverImage));
        number("newWindow", _newWindow ? 1 : 0);
        text("qtSize", sizeToString(_qtSize));
        number("hiddenQT", _hiddenQT);
        text("baseSize", sizeToString(_baseSize));
        text("zlocation", zlocation());
        number("wraps", _wrapsText ? 1 : 0);
    });
}

XmlBasePtr XmlVornBox::createChildFromTag(const QString& tag)
{
    return lq::modelFrame(this, "createChildFromTag:", [&]() -> XmlBasePtr {
        if (tag == u"htmlSnippet")
            return htmlSnippet();
        return XmlWebText::createChildFromTag(tag);
    });
}

QString XmlVornBox::writeXmlVorns()
{
    return lq::modelFrame(this, "writeXmlVorns", [&] {
        return XmlWebText::writeXmlVorns() + htmlSnippet()->createXml();
    });
}

XmlBaseList XmlVornBox::ownedParts() const
{
    XmlBaseList parts;
    if (_htmlSnippet)
        parts.append(_htmlSnippet);
    parts.append(XmlWebText::ownedParts());
    return parts;
}

const XmlBasePtr& XmlVornBox::htmlSnippet()
{
    if (!_htmlSnippet) {
        _htmlSnippet = XmlBase::create();
        _htmlSnippet->setParent(this);
        _htmlSnippet->setHaveContent(true);
        _htmlSnippet->setElementOverride(QStringLiteral("htmlSnippet"));
    }
    return _htmlSnippet;
}

// --- Settings ----------------------------------------------------------------------------------

void XmlVornBox::setType(int type)
{
    setStored(_type, type, "setType:");
}

void XmlVornBox::setExternalType(int type)
{
    setStored(_externalType, type, "setExternalType:");
}

void XmlVornBox::setVornSeqNum(int number)
{
    setStored(_vornSeqNum, number, "setVornSeqNum:");
}

void XmlVornBox::setExternalHTML(const QString& item)
{
    setStored(_externalHTML, lq::orEmpty(item), "setExternalHTML:");
}

void XmlVornBox::setScrollbars(bool scrollbars)
{
    setStored(_scrollbars, scrollbars, "setScrollbars:");
}

void XmlVornBox::setAutostart(bool autostart)
{
    setStored(_autostart, autostart, "setAutostart:");
}

void XmlVornBox::setMoviecontroller(bool controller)
{
    setStored(_moviecontroller, controller, "setMoviecontroller:");
}

void XmlVornBox::setLoopmovie(bool loop)
{
    setStored(_loopmovie, loop, "setLoopmovie:");
}

void XmlVornBox::setScale(int scale)
{
    setStored(_scale, static_cast<signed char>(scale), "setScale:");
}

void XmlVornBox::setClickLinkTo(const QString& link)
{
    setStored(_clickLinkTo, lq::orEmpty(link), "setClickLinkTo:");
}

void XmlVornBox::setRollOverImage(const QString& image)
{
    setStored(_rollOverImage, lq::orEmpty(image), "setRollOverImage:");
}

void XmlVornBox::setNewWindow(bool newWindow)
{
    setStored(_newWindow, newWindow, "setNewWindow:");
}

void XmlVornBox::setHiddenQT(int hidden)
{
    setStored(_hiddenQT, hidden, "setHiddenQT:");
}

void XmlVornBox::setWrapsText(bool wraps)
{
    setStored(_wrapsText, wraps, "setWrapsText:");
}

QString XmlVornBox::zlocation() const
{
    return _type == 3 ? _zlocation : foreground();
}

void XmlVornBox::setZlocation(const QString& layer)
{
    if (_type == 3)
        setStored(_zlocation, lq::orEmpty(layer), "setZlocation:");
}

PagePass XmlVornBox::getCorrectPass() const
{
    const QString layer = zlocation();
    if (layer == u"Background")
        return PagePass::BackgroundVorns;
    if (layer == u"Middle")
        return PagePass::MiddleVorns;
    return PagePass::ForegroundVorns;
}

int XmlVornBox::bkgnd() const
{
    return _type == 3 ? 5 : XmlWebText::bkgnd();
}

int XmlVornBox::transparentBkgnd() const
{
    return _type == 3 ? 1 : XmlWebText::transparentBkgnd();
}

// --- Fonts -------------------------------------------------------------------------------------

std::shared_ptr<XmlWebFont> XmlVornBox::font()
{
    return lq::modelFrame(this, "font", [&] { return VornBoxText(*this).contentRecord(0); });
}

// --- Previews and the preview page -------------------------------------------------------------

bool XmlVornBox::requiresView()
{
    return VornBoxPreview(*this).requiresView();
}

std::unique_ptr<lq::PreviewView> XmlVornBox::createView()
{
    return VornBoxPreview(*this).createView();
}

QString XmlVornBox::htmlString()
{
    return VornBoxHtml(*this).htmlString();
}

void XmlVornBox::updateVorn()
{
    VornBoxPreview(*this).updateVorn();
}

void XmlVornBox::reloadPage()
{
    VornBoxPreview(*this).reloadPage();
}

// --- Page HTML and template CSS ----------------------------------------------------------------

void XmlVornBox::appendCSS(QString& css)
{
    VornBoxHtml(*this).appendCSS(css);
}

void XmlVornBox::appendCSSWinIESuffix(QString& css, const QString& suffix)
{
    VornBoxHtml(*this).appendCSSWinIESuffix(css, suffix);
}

void XmlVornBox::appendHTMLPagePassSheet(QString& html, XmlBase* page, PagePass pass, XmlStyleSheet* sheet)
{
    VornBoxHtml(*this).appendHTMLPagePassSheet(html, page, pass, sheet);
}
