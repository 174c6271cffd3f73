// The Vorn Box's identity, its owned snippet part, its layer's page pass,
// its background and the fonts it borrows from the content box; its
// settings are a VornBoxSettings value.
#include "elements/XmlVornBox.h"

#include "elements/XmlWebContent.h"
#include "platform/ExceptionFrame.h"
#include "platform/PreviewView.h"
#include "platform/Strings.h"
#include "templates/XmlStyleSheet.h"
#include "templates/XmlWebFont.h"

using namespace lq::literals;

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

void XmlVornBox::setAttributeTo(const QString& key, const QString& value)
{
    lq::modelFrame(this, "setAttribute:to:", [&] {
        if (!_settings.setAttributeTo(key, value))
            XmlWebText::setAttributeTo(key, value);
    });
}

void XmlVornBox::appendAttributes(QString& xml)
{
    lq::modelFrame(this, "appendAttributes:", [&] {
        XmlWebText::appendAttributes(xml);
        _settings.appendAttributes(xml);
    });
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

QString XmlVornBox::uniquename() const
{
    return QStringLiteral("x") + QString::number(vornSeqNum());
}

bool XmlVornBox::enabled()
{
    return true;
}

// --- Stored form -------------------------------------------------------------------------------

XmlBasePtr XmlVornBox::createChildFromTag(const QString& tag)
{
    return lq::modelFrame(this, "createChildFromTag:", [&]() -> XmlBasePtr {
        if (tag == u"htmlSnippet"_sv)
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

// --- Layer and background ------------------------------------------------------------------------

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
    return type() == 3 ? 5 : XmlWebText::bkgnd();
}

int XmlVornBox::transparentBkgnd() const
{
    return type() == 3 ? 1 : XmlWebText::transparentBkgnd();
}

// --- Fonts -------------------------------------------------------------------------------------

std::shared_ptr<XmlWebFont> XmlVornBox::font()
{
    return lq::modelFrame(this, "font", [&] { return contentRecord(0); });
}

std::shared_ptr<XmlWebFont> XmlVornBox::contentRecord(int type)
{
    XmlStyleSheet* sheet = XmlStyleSheet::cast(_parent);
    if (!sheet)
        return nullptr;
    const XmlBasePtr element = sheet->getElementWithName(QStringLiteral("Content"));
    XmlWebContent* content = XmlWebContent::cast(element.get());
    if (!content)
        return nullptr;
    switch (type) {
    case 1:
        return content->heading();
    case 2:
        return content->subheading();
    case 3:
        return content->caption();
    default:
        return content->font();
    }
}

std::shared_ptr<XmlWebFont> XmlVornBox::heading()
{
    return lq::modelFrame(this, "heading", [&] { return contentRecord(1); });
}

std::shared_ptr<XmlWebFont> XmlVornBox::subheading()
{
    return lq::modelFrame(this, "subheading", [&] { return contentRecord(2); });
}

std::shared_ptr<XmlWebFont> XmlVornBox::caption()
{
    return lq::modelFrame(this, "caption", [&] { return contentRecord(3); });
}
