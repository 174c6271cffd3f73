#include "model/site/XmlWebItem.h"

#include "model/core/ElementRegistry.h"
#include "model/core/SuppressedChanges.h"

#include "model/site/XmlPhotoRep.h"
#include "model/site/XmlSite.h"
#include "platform/Escaping.h"
#include "platform/ExceptionFrame.h"
#include "platform/Strings.h"

using namespace lq::literals;

XmlWebItem::XmlWebItem(Key key)
    : XmlBase(key)
    , _rep(XmlPhotoRep::create())
    , _pageUUID(ElementRegistry::makeUUID())
{
    _rep->setParent(this);
}

XmlWebItem::~XmlWebItem()
{
    // The pictures may outlive the page in other hands; they must not point back at it.
    if (_rep)
        _rep->setParent(nullptr);
    if (_norep)
        _norep->setParent(nullptr);
}

std::shared_ptr<XmlWebItem> XmlWebItem::create()
{
    return make<XmlWebItem>();
}

void XmlWebItem::setAttributeTo(const QString& key, const QString& value)
{
    lq::modelFrame(this, "setAttribute:to:", [&] {
        if (key == u"showInNav"_sv) {
            setShowInNav(value.toInt() != 0);
        } else if (key == u"link"_sv) {
            if (canEditLink())
                setExternalLink(value);
        } else if (key == u"filename"_sv) {
            if (_canEditFileName)
                setFileName(value);
        } else if (key == u"isExternal"_sv) {
            setIsExternalLink(value.toInt() != 0);
        } else if (key == u"password"_sv) {
            setIsPassword(true);
            setPassword(value);
        } else if (key == u"pageuuid"_sv) {
            setPageUUID(value);
        } else {
            XmlBase::setAttributeTo(key, value);
        }
    });
}

void XmlWebItem::appendAttributes(QString& xml)
{
    lq::modelFrame(this, "appendAttributes:", [&] {
        XmlBase::appendAttributes(xml);
        // A page identity is hexadecimal digits, which escaping leaves alone;
        // escaping keeps a damaged one from breaking the text.
        xml += QStringLiteral(" pageuuid=\"%1\"").arg(lq::escape(_pageUUID));
        xml += QStringLiteral(" showInNav=\"%1\"").arg(_showInNav ? 1 : 0);
        if (canEditLink()) {
            xml += QStringLiteral(" link=\"%1\"").arg(lq::escape(externalLink()));
            xml += QStringLiteral(" isExternal=\"%1\"").arg(isExternalLink() ? 1 : 0);
        }
        if (isPassword())
            xml += QStringLiteral(" password=\"%1\"").arg(lq::escape(_password));
        if (_hasFileName)
            xml += QStringLiteral(" filename=\"%1\"").arg(lq::escape(fileName()));
    });
}

XmlBasePtr XmlWebItem::createChildFromTag(const QString& tag)
{
    return lq::modelFrame(this, "createChildFromTag:", [&]() -> XmlBasePtr {
        if (tag == u"QZphotoRep"_sv)
            return _rep;
        return XmlBase::createChildFromTag(tag);
    });
}

QString XmlWebItem::writeXmlVorns()
{
    return lq::modelFrame(this, "writeXmlVorns", [&] {
        return _rep->createXml();
    });
}

QString XmlWebItem::externalLink()
{
    return _externalLink;
}

QString XmlWebItem::fileName()
{
    return _fileName;
}

void XmlWebItem::setShowInNav(bool show)
{
    _showInNav = show;
    noteQuietChange();
}

void XmlWebItem::setExternalLink(const QString& link)
{
    _externalLink = link;
    noteQuietChange();
}

void XmlWebItem::setFileName(const QString& fileName)
{
    _fileName = fileName;
    noteQuietChange();
}

void XmlWebItem::noteQuietChange()
{
    if (XmlSite* site = siteRoot())
        site->noteQuietChange();
}

QString XmlWebItem::linkAddress()
{
    return lq::modelFrame(this, "linkAddress", [&] {
        const QString address = externalLink();
        return isExternalLink() ? address : lq::urlPathSegmentEscape(address);
    });
}

void XmlWebItem::setIsExternalLink(bool isExternal)
{
    if (canEditLink())
        setStored(_isExternalLink, isExternal, "setIsExternalLink:");
}

void XmlWebItem::setIsPassword(bool isPassword)
{
    setStored(_isPassword, isPassword, "setIsPassword:");
}

void XmlWebItem::setPassword(const QString& password)
{
    setStored(_password, password, "setPassword:");
}

QString XmlWebItem::scriptFile()
{
    return lq::modelFrame(this, "scriptFile", [&] {
        const QString name = fileName();
        const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
        return (dot <= 0 ? name : name.left(dot)) + QStringLiteral(".php");
    });
}

std::optional<MenuItem> XmlWebItem::menuEntry()
{
    if (!showInNav())
        return std::nullopt;
    return menuItem();
}

MenuItem XmlWebItem::menuItem()
{
    return lq::modelFrame(this, "menuItem", [&] {
        MenuItem item;
        item.name = name();
        item.href = linkAddress();
        item.page = sharedFromThis();
        return item;
    });
}

XmlHomePage* XmlWebItem::homepage()
{
    return _parent ? _parent->homepage() : nullptr;
}

std::shared_ptr<XmlPhotoRep> XmlWebItem::rep()
{
    return _rep;
}

std::shared_ptr<XmlPhotoRep> XmlWebItem::norep()
{
    return lq::modelFrame(this, "norep", [&] {
        if (!_norep) {
            _norep = XmlPhotoRep::createNoImage();
            // Making the placeholder on first use is no edit of the page.
            SuppressedChanges quiet(*this);
            _norep->setParent(this);
        }
        return _norep;
    });
}
