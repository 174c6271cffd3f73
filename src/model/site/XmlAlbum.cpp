#include "model/site/XmlAlbum.h"

#include "model/core/ElementFiles.h"
#include "model/imaging/XmlWatermark.h"
#include "model/core/DocumentBase.h"
#include "model/core/ElementFactory.h"
#include "model/site/XmlCaption.h"
#include "model/site/XmlContent.h"
#include "model/site/PageTemplate.h"
#include "model/site/XmlHomePage.h"
#include "model/site/XmlPhoto.h"
#include "model/site/XmlPhotoRep.h"
#include "model/site/XmlSite.h"
#include "platform/Escaping.h"
#include "platform/ExceptionFrame.h"
#include "platform/FileHelpers.h"
#include "platform/Image.h"
#include "platform/Strings.h"

#include <typeinfo>

using namespace lq::literals;

XmlAlbum::XmlAlbum(Key key)
    : XmlWebItem(key)
    , _watermark(XmlWatermark::create())
    , _webcontent(XmlContent::create())
{
    // Its children are its photos; it also carries a content text.
    _have_children = true;
    setHaveContent(true);
    _canEditFileName = true;
    _hasFileName = true;
    _watermark->setParent(this);
    // The page's watermark follows the size of each picture it marks.
    _watermark->setVariableSizeText(50);
    _webcontent->setParent(this);
}

XmlAlbum::~XmlAlbum()
{
    // The parts may outlive the page in other hands; they must not point back at it.
    if (_watermark)
        _watermark->setParent(nullptr);
    if (_webcontent)
        _webcontent->setParent(nullptr);
    if (_styleSheet)
        _styleSheet->setParent(nullptr);
}

std::shared_ptr<XmlAlbum> XmlAlbum::create()
{
    return make<XmlAlbum>();
}

QString XmlAlbum::elementName() const
{
    return QStringLiteral("QZalbum");
}

QImage XmlAlbum::iconImage()
{
    return lq::namedImage(QStringLiteral("xmlalbum"));
}

bool XmlAlbum::canYouBeMyParent(XmlBase* child)
{
    return lq::modelFrame(this, "canYouBeMyParent:", [&] {
        if (!child || isSelfOrDescendantOf(child))
            return false;
        return typeid(*child) == typeid(XmlPhoto);
    });
}

void XmlAlbum::setAttributeTo(const QString& key, const QString& value)
{
    lq::modelFrame(this, "setAttribute:to:", [&] {
        if (key == u"seq"_sv)
            setPageSeqNumber(value.toInt());
        else if (key == u"template"_sv)
            _templateNum = value.toInt();
        else
            XmlWebItem::setAttributeTo(key, value);
    });
}

void XmlAlbum::appendAttributes(QString& xml)
{
    lq::modelFrame(this, "appendAttributes:", [&] {
        XmlWebItem::appendAttributes(xml);
        xml += QStringLiteral(" seq=\"%1\" template=\"%2\"").arg(QString::number(_pageSeqNumber), QString::number(_templateNum));
    });
}

XmlBasePtr XmlAlbum::createChildFromTag(const QString& tag)
{
    return lq::modelFrame(this, "createChildFromTag:", [&]() -> XmlBasePtr {
        if (tag == u"cssStyleSheet"_sv) {
            if (_styleSheet)
                _styleSheet->setParent(nullptr);
            _styleSheet = lq::factoryCreateChildFromTag(tag);
            if (_styleSheet)
                _styleSheet->setParent(this);
            return _styleSheet;
        }
        if (tag == u"IWwatermark"_sv)
            return _watermark;
        if (tag == u"QZcontent"_sv)
            return _webcontent;
        return XmlWebItem::createChildFromTag(tag);
    });
}

QString XmlAlbum::writeXmlVorns()
{
    return lq::modelFrame(this, "writeXmlVorns", [&] {
        QString xml = XmlWebItem::writeXmlVorns();
        if (xml.isNull())
            xml = QStringLiteral("");
        xml += _watermark->createXml();
        xml += _webcontent->createXml();
        return xml;
    });
}

XmlBaseList XmlAlbum::ownedParts() const
{
    XmlBaseList parts { _watermark, _webcontent };
    if (_styleSheet)
        parts.append(_styleSheet);
    parts.append(XmlWebItem::ownedParts());
    return parts;
}

void XmlAlbum::newDocument()
{
    lq::modelFrame(this, "newDocument", [&] {
        DocumentBase* document = myDocument();
        if (XmlSite* site = document ? document->site() : nullptr) {
            const int number = site->pageSeqNumber();
            setPageSeqNumber(number);
            setName(QStringLiteral("Page %1").arg(number));
            setFileName(QStringLiteral("page%1.html").arg(number));
            setTemplate(document->defaultPageTemplate());
            // The page's own content is its title; its page text starts empty.
            setContent(QStringLiteral("Some Photos"));
        }
        XmlWebItem::newDocument();
    });
}

void XmlAlbum::setPageSeqNumber(int number)
{
    setStored(_pageSeqNumber, number, "setPageSeqNumber:");
}

void XmlAlbum::setTemplate(const PageTemplate* sheet)
{
    lq::modelFrame(this, "setTemplate:", [&] {
        // The page names its template by number in the file and by UUID in
        // memory; a missing template leaves the number as it was.
        if (sheet)
            _templateNum = sheet->templateSeqNum();
        _templateUUID = sheet ? sheet->templateElement().UUID() : QString();
        docChanged();
    });
}

void XmlAlbum::setTemplateForUUID(int number, const QString& uuid)
{
    lq::modelFrame(this, "setTemplate:forUUID:", [&] {
        if (number == -1) {
            _templateNum = 0;
            _templateUUID = uuid;
        } else if (number == _templateNum) {
            _templateUUID = uuid;
        }
    });
}

XmlBasePtr XmlAlbum::templateElement() const
{
    return lq::modelFrame(this, "getTemplate", [&]() -> XmlBasePtr {
        if (_templateUUID.isEmpty())
            return nullptr;
        return UUID(_templateUUID);
    });
}

void XmlAlbum::setWatermark(const std::shared_ptr<XmlWatermark>& watermark)
{
    lq::modelFrame(this, "setWatermark:", [&] {
        if (!watermark || watermark == _watermark)
            return;
        _watermark->setParent(nullptr);
        _watermark = watermark;
        _watermark->setParent(this);
        docChanged();
    });
}

QString XmlAlbum::fileName()
{
    return lq::modelFrame(this, "fileName", [&] {
        if (XmlWebItem::fileName().isEmpty())
            setFileName(defaultFileName());
        return XmlWebItem::fileName();
    });
}

QString XmlAlbum::defaultFileName() const
{
    return QStringLiteral("page%1.html").arg(_pageSeqNumber);
}

QString XmlAlbum::externalLink()
{
    return lq::modelFrame(this, "externalLink", [&] {
        return isExternalLink() ? XmlWebItem::externalLink() : fileName();
    });
}

namespace {
XmlHomePage* homePageAbove(XmlBase* start)
{
    for (XmlBase* node = start; node; node = node->parent()) {
        if (XmlHomePage* home = XmlHomePage::cast(node))
            return home;
        if (node->parent() == node)
            break;
    }
    return nullptr;
}
} // namespace

XmlMasthead* XmlAlbum::masthead()
{
    return lq::modelFrame(this, "masthead", [&]() -> XmlMasthead* {
        XmlHomePage* home = homePageAbove(_parent);
        return home ? home->masthead().get() : nullptr;
    });
}

XmlFooter* XmlAlbum::footer()
{
    return lq::modelFrame(this, "footer", [&]() -> XmlFooter* {
        XmlHomePage* home = homePageAbove(_parent);
        return home ? home->footer().get() : nullptr;
    });
}

XmlBaseList XmlAlbum::photoObjects()
{
    return lq::modelFrame(this, "photoObjects", [&] {
        XmlBaseList photos;
        for (const auto& photo : childrenOfType<XmlPhoto>())
            photos.append(photo);
        return photos;
    });
}

int XmlAlbum::numberPhotos()
{
    return lq::modelFrame(this, "numberPhotos", [&] {
        return static_cast<int>(childrenOfType<XmlPhoto>().size());
    });
}

QStringList XmlAlbum::photoCaptions()
{
    return lq::modelFrame(this, "photoCaptions", [&] {
        QStringList captions;
        for (const auto& photo : childrenOfType<XmlPhoto>())
            captions.append(photo->caption()->content());
        return captions;
    });
}

std::shared_ptr<XmlPhotoRep> XmlAlbum::rep()
{
    return lq::modelFrame(this, "rep", [&]() -> std::shared_ptr<XmlPhotoRep> {
        if (_rep->imageSeqNumber() == 0 && numberChildren() > 0) {
            if (XmlPhoto* first = XmlPhoto::cast(childAtIndex(0).get())) {
                const QString path = first->originalFilename();
                // A stored picture that cannot be read (through the document
                // folder's gateway) leaves the page with its present (empty)
                // representative picture.
                const std::optional<QByteArray> bytes = lq::readFileAt(*this, path);
                if (std::shared_ptr<XmlPhotoRep> fresh = bytes ? XmlPhotoRep::createFromData(*bytes) : nullptr) {
                    fresh->setParent(this);
                    _rep->setParent(nullptr);
                    _rep = fresh;
                    _rep->newDocument(path);
                }
            }
        }
        return _rep->imageSeqNumber() != 0 ? _rep : nullptr;
    });
}

int XmlAlbum::repPictureNumber() const
{
    return _rep ? _rep->imageSeqNumber() : 0;
}

QStringList XmlAlbum::picturesInSite()
{
    return lq::modelFrame(this, "picturesInSite", [&] {
        QStringList names;
        rep();
        names.append(QStringLiteral("image%1.jpg").arg(_rep->imageSeqNumber()));
        for (const XmlBasePtr& child : photoObjects()) {
            if (XmlPhoto* photo = XmlPhoto::cast(child.get()))
                names.append(QStringLiteral("image%1.jpg").arg(photo->imageSeqNumber()));
        }
        return names;
    });
}

std::shared_ptr<XmlPhoto> XmlAlbum::importPhotoIndexCaption(const QString& path, int index, const QString& caption,
    lq::PictureRefusal* refusal)
{
    return lq::modelFrame(this, "importPhoto:index:caption:", [&]() -> std::shared_ptr<XmlPhoto> {
        std::shared_ptr<XmlPhoto> photo = XmlPhoto::createFromFile(path, refusal);
        if (!photo)
            return nullptr;
        if (index != -1 && index < numberChildren())
            insertChildAtIndex(photo, index);
        else
            addChild(photo);
        QString why;
        if (!photo->newDocument(path, &why)) {
            // A photo without its picture would be lost at the next open.
            photo->removeFromParent();
            if (refusal)
                *refusal = { lq::PictureFault::NotStored, QStringLiteral("the site could not keep a copy: ") + why };
            return nullptr;
        }
        const QString text = caption.isNull()
            ? lq::stringByDeletingPathExtension(lq::lastPathComponent(path))
            : caption;
        photo->caption()->setContent(QStringLiteral("<p>") + lq::escape(text) + QStringLiteral("</p>"));
        return photo;
    });
}

XmlAlbum::LegacyStyle XmlAlbum::legacyStyle() const
{
    return { 0, QStringLiteral("Group Nav") };
}

MenuItem XmlAlbum::menuItem()
{
    MenuItem item = XmlWebItem::menuItem();
    item.seq = _pageSeqNumber;
    return item;
}
