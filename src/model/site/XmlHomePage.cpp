#include "model/site/XmlHomePage.h"

#include "model/core/ElementFactory.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlBodyHTML.h"
#include "model/site/XmlDescription.h"
#include "model/site/XmlFooter.h"
#include "model/site/XmlGroup.h"
#include "model/site/XmlHeadHTML.h"
#include "model/site/XmlMasthead.h"
#include "model/site/XmlPayPalCommon.h"
#include "model/site/XmlSearchTags.h"
#include "model/site/XmlTrash.h"
#include "model/site/XmlWebItem.h"
#include "platform/Escaping.h"
#include "platform/ExceptionFrame.h"
#include "platform/Image.h"
#include "platform/Strings.h"

#include <typeinfo>

using namespace lq::literals;

XmlHomePage::XmlHomePage(Key key)
    : XmlBase(key)
    , _masthead(XmlMasthead::create())
    , _footer(XmlFooter::create())
    , _headHTML(XmlHeadHTML::create())
    , _bodyHTML(XmlBodyHTML::create())
    , _description(XmlDescription::create())
    , _searchTags(XmlSearchTags::create())
    , _paypal(XmlPayPalCommon::create())
{
    _have_children = true;
    // The name is always "Website" and never written.
    _edit_name = false;
    _masthead->setParent(this);
    _footer->setParent(this);
    _headHTML->setParent(this);
    _bodyHTML->setParent(this);
    _description->setParent(this);
    _searchTags->setParent(this);
    _paypal->setParent(this);
}

XmlHomePage::~XmlHomePage()
{
    // The parts may outlive the home page in other hands; they must not point back at it.
    for (XmlBase* part : { static_cast<XmlBase*>(_masthead.get()), static_cast<XmlBase*>(_footer.get()),
             static_cast<XmlBase*>(_headHTML.get()), static_cast<XmlBase*>(_bodyHTML.get()),
             static_cast<XmlBase*>(_description.get()), static_cast<XmlBase*>(_searchTags.get()),
             static_cast<XmlBase*>(_paypal.get()), static_cast<XmlBase*>(_styleSheet.get()) }) {
        if (part)
            part->setParent(nullptr);
    }
}

std::shared_ptr<XmlHomePage> XmlHomePage::create()
{
    return make<XmlHomePage>();
}

QImage XmlHomePage::iconImage()
{
    return lq::namedImage(QStringLiteral("xmlhomepage"));
}

QString XmlHomePage::elementName() const
{
    return QStringLiteral("QZhomepage");
}

QString XmlHomePage::name() const
{
    return QStringLiteral("Website");
}

void XmlHomePage::setAttributeTo(const QString& key, const QString& value)
{
    lq::modelFrame(this, "setAttribute:to:", [&] {
        if (key == u"lc"_sv)
            setLangcode(value.toInt());
        else if (key == u"passPhrase"_sv)
            setPassPhrase(value);
        else if (key == u"submitLabel"_sv)
            setSubmitLabel(value);
        else
            XmlBase::setAttributeTo(key, value);
    });
}

void XmlHomePage::appendAttributes(QString& xml)
{
    lq::modelFrame(this, "appendAttributes:", [&] {
        XmlBase::appendAttributes(xml);
        xml += QStringLiteral(" lc=\"%1\"").arg(_langcode);
        xml += QStringLiteral(" passPhrase=\"%1\"").arg(lq::escape(_passPhrase));
        xml += QStringLiteral(" submitLabel=\"%1\"").arg(lq::escape(_submitLabel));
    });
}

XmlBasePtr XmlHomePage::createChildFromTag(const QString& tag)
{
    return lq::modelFrame(this, "createChildFromTag:", [&]() -> XmlBasePtr {
        if (tag == u"QZmasthead"_sv)
            return _masthead;
        if (tag == u"QZfooter"_sv)
            return _footer;
        if (tag == u"headHTML"_sv)
            return _headHTML;
        if (tag == u"bodyHTML"_sv)
            return _bodyHTML;
        if (tag == u"descriptionMETA"_sv)
            return _description;
        if (tag == u"searchMETA"_sv)
            return _searchTags;
        if (tag == u"QZpaypalcommon"_sv)
            return _paypal;
        if (tag == u"cssStyleSheet"_sv) {
            if (_styleSheet)
                _styleSheet->setParent(nullptr);
            _styleSheet = lq::factoryCreateChildFromTag(tag);
            if (_styleSheet)
                _styleSheet->setParent(this);
            return _styleSheet;
        }
        return XmlBase::createChildFromTag(tag);
    });
}

bool XmlHomePage::canYouBeMyParent(XmlBase* child)
{
    return lq::modelFrame(this, "canYouBeMyParent:", [&] {
        if (child && typeid(*child) == typeid(XmlTrash))
            return false;
        return XmlWebItem::cast(child) != nullptr;
    });
}

QString XmlHomePage::writeXmlVorns()
{
    return lq::modelFrame(this, "writeXmlVorns", [&] {
        QString xml = _masthead->createXml();
        xml += _footer->createXml();
        xml += _headHTML->createXml();
        xml += _bodyHTML->createXml();
        xml += _description->createXml();
        xml += _searchTags->createXml();
        xml += _paypal->createXml();
        return xml;
    });
}

XmlBaseList XmlHomePage::ownedParts() const
{
    XmlBaseList parts { _masthead, _footer, _headHTML, _bodyHTML, _description, _searchTags, _paypal };
    if (_styleSheet)
        parts.append(_styleSheet);
    return parts;
}

XmlHomePage* XmlHomePage::homepage()
{
    return this;
}

XmlBaseList XmlHomePage::webItems()
{
    return lq::modelFrame(this, "webItems", [&] {
        return XmlGroup::webItemsOf(*this);
    });
}

void XmlHomePage::setLangcode(int langcode)
{
    setStored(_langcode, langcode, "setLangcode:");
}

void XmlHomePage::setPassPhrase(const QString& passPhrase)
{
    setStored(_passPhrase, passPhrase, "setPassPhrase:");
}

void XmlHomePage::setSubmitLabel(const QString& submitLabel)
{
    lq::modelFrame(this, "setSubmitLabel:", [&] {
        // The standard phrase names the button as it is labelled; a phrase of
        // the user's own stays as it is.
        if (submitLabel != _submitLabel && _passPhrase == standardPassPhrase(_submitLabel))
            _passPhrase = standardPassPhrase(submitLabel);
        _submitLabel = submitLabel;
        docChanged();
    });
}

QString XmlHomePage::standardPassPhrase(const QString& submitLabel)
{
    return QStringLiteral("Enter your Password below and click ") + submitLabel;
}

QStringList XmlHomePage::picturesInSite()
{
    return lq::modelFrame(this, "picturesInSite", [&] {
        QStringList names;
        names.reserve(500);
        for (const XmlBasePtr& item : webItems()) {
            if (XmlAlbum* page = XmlAlbum::cast(item.get()))
                names.append(page->picturesInSite());
        }
        return names;
    });
}

void XmlHomePage::setTemplateForUUID(int number, const QString& uuid)
{
    lq::modelFrame(this, "setTemplate:forUUID:", [&] {
        for (const auto& page : childrenOfType<XmlAlbum>())
            page->setTemplateForUUID(number, uuid);
    });
}

QString XmlHomePage::validatedFileNameForItem(const QString& proposed, XmlBase* item)
{
    return lq::modelFrame(this, "validatedFileName:forItem:", [&]() -> QString {
        XmlAlbum* page = XmlAlbum::cast(item);
        if (!page)
            return proposed;
        if (proposed.isEmpty())
            return page->defaultFileName();
        QString name = proposed;
        if (!name.contains(u".html") && !name.contains(u".php"))
            name += QStringLiteral(".html");
        QString result;
        result.reserve(name.size());
        for (const QChar c : name) {
            const char16_t u = c.unicode();
            const bool kept = (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9')
                || u == u'.' || u == u'-';
            if (kept)
                result.append(c);
        }
        for (const XmlBasePtr& other : webItems()) {
            XmlAlbum* otherPage = XmlAlbum::cast(other.get());
            if (!otherPage || otherPage == page)
                continue;
            if (result == otherPage->fileName() || result == otherPage->defaultFileName())
                return page->defaultFileName();
        }
        return result;
    });
}
