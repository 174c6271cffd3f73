#include "templates/XmlCSS.h"

#include "model/core/DocumentBase.h"
#include "model/site/XmlAlbum.h"
#include "platform/ExceptionFrame.h"
#include "platform/Strings.h"
#include "templates/XmlCSSImage.h"

using namespace lq::literals;

namespace {

// Runs the request on every child that is a style element, in child order.
template <typename Request>
void forEachStyleChild(const XmlBase& element, Request&& request)
{
    for (const auto& style : element.childrenOfType<XmlCSS>())
        request(*style);
}

// Runs the bitmap request on every owned part and child that takes part in
// the bitmap housekeeping (style elements and background pictures), in the
// order of the walks.
template <typename StyleRequest, typename PictureRequest>
void forEachBitmapChild(const XmlBase& element, StyleRequest&& onStyle, PictureRequest&& onPicture)
{
    for (const XmlBasePtr& child : element.walkedElements()) {
        if (XmlCSS* style = XmlCSS::cast(child.get()))
            onStyle(*style);
        else if (XmlCSSImage* picture = XmlCSSImage::cast(child.get()))
            onPicture(*picture);
    }
}

} // namespace

XmlCSS::XmlCSS(Key key)
    : XmlBase(key)
{
}

std::shared_ptr<XmlCSS> XmlCSS::create()
{
    return make<XmlCSS>();
}

QString XmlCSS::elementName() const
{
    return QStringLiteral("css");
}

// --- Element protocol --------------------------------------------------------------------------

void XmlCSS::setAttributeTo(const QString& key, const QString& value)
{
    lq::modelFrame(this, "setAttribute:to:", [&] {
        if (key == u"sameas"_sv)
            _sameas = lq::intValue(value);
        else if (key == u"v"_sv)
            _visible = lq::intValue(value);
        else if (key == u"v2"_sv)
            _visibleInSlideshow = lq::intValue(value);
        else
            XmlBase::setAttributeTo(key, value);
    });
}

void XmlCSS::appendAttributes(QString& xml)
{
    lq::modelFrame(this, "appendAttributes:", [&] {
        // Ahead of the name: every style element's tag starts with v and v2.
        xml += QString::asprintf(" v=\"%d\" v2=\"%d\"", _visible, _visibleInSlideshow);
        XmlBase::appendAttributes(xml);
    });
}

// --- Layout and drawing ------------------------------------------------------------------------

void XmlCSS::relayoutFlags(XmlBase*, int)
{
}

void XmlCSS::cleanup()
{
    lq::modelFrame(this, "cleanup", [&] {
        forEachStyleChild(*this, [](XmlCSS& child) { child.cleanup(); });
    });
}

void XmlCSS::draw()
{
}

void XmlCSS::drawObject()
{
}

void XmlCSS::drawObject(const lq::Rect&)
{
}

void XmlCSS::drawObjectTypeColorImage(const lq::Rect&, int, const lq::Colour&, const lq::GraphicsImage&)
{
}

void XmlCSS::drawText()
{
}

// --- Hit testing and selection -----------------------------------------------------------------

lq::Rect XmlCSS::guideRect()
{
    return lq::modelFrame(this, "guideRect", [&] { return objectRect(); });
}

lq::Rect XmlCSS::objectRect() const
{
    return lq::Rect();
}

void XmlCSS::setObjectRect(const lq::Rect&)
{
}

XmlCSSPtr XmlCSS::objectAtPoint(const lq::Point& point)
{
    return lq::modelFrame(this, "objectAtPoint:", [&]() -> XmlCSSPtr {
        if (!visible())
            return nullptr;

        const XmlBaseList lastFirst = reverseEnumerator();
        // Plain boxes first, so that they win over Vorn Boxes lying on them.
        for (bool floating : { false, true }) {
            for (const XmlBasePtr& child : lastFirst) {
                XmlCSS* style = XmlCSS::cast(child.get());
                if (!style || style->floatsAbove() != floating)
                    continue;
                if (XmlCSSPtr hit = style->objectAtPoint(point))
                    return hit;
            }
        }
        return nullptr;
    });
}

void XmlCSS::getSelectableObjects(XmlBaseList&)
{
}

bool XmlCSS::hasNextSelectableObjectInside(bool)
{
    return false;
}

XmlBasePtr XmlCSS::objectForEditingAtPoint(const lq::Point& point)
{
    return lq::modelFrame(this, "objectForEditingAtPoint:", [&]() -> XmlBasePtr {
        if (!visible())
            return nullptr;
        for (const XmlBasePtr& child : reverseEnumerator()) {
            XmlCSS* style = XmlCSS::cast(child.get());
            if (!style)
                continue;
            if (XmlBasePtr found = style->objectForEditingAtPoint(point))
                return found;
        }
        return nullptr;
    });
}

void XmlCSS::canSaveChanges()
{
}

bool XmlCSS::enabled()
{
    return false;
}

// --- Visibility --------------------------------------------------------------------------------

bool XmlCSS::baseVisibility()
{
    return _visible != 0;
}

bool XmlCSS::visible()
{
    return lq::modelFrame(this, "visible", [&] {
        // Only the direct parent counts: a font inside a box answers its own v.
        const XmlCSS* parentStyle = XmlCSS::cast(_parent);
        if (parentStyle && parentStyle->showsSlideshowView())
            return _visibleInSlideshow != 0;
        return _visible != 0;
    });
}

void XmlCSS::setVisible(bool visible)
{
    setStored(_visible, visible ? 1 : 0, "setVisible:");
}

void XmlCSS::setVisibleInSlideshow(bool visible)
{
    setStored(_visibleInSlideshow, visible ? 1 : 0, "setVisibleInSlideshow:");
}

// --- Mouse and in-place editing ----------------------------------------------------------------

void XmlCSS::mouseEntered(const QString&)
{
}

void XmlCSS::mouseExited(const QString&)
{
}

void XmlCSS::mouseDown(const QString&)
{
}

void XmlCSS::mouseClick(const QString&)
{
}

bool XmlCSS::canDoubleClick()
{
    return false;
}

bool XmlCSS::startEditingAtPointTextView(const lq::Point&, lq::TextView*)
{
    return false;
}

bool XmlCSS::isEditing()
{
    return false;
}

void XmlCSS::endEditingInView()
{
    lq::modelFrame(this, "endEditingInView", [&] {
        if (DocumentBase* document = myDocument())
            document->layoutDidContentEditing();
    });
}

void XmlCSS::startAnimations()
{
    lq::modelFrame(this, "startAnimations", [&] {
        forEachStyleChild(*this, [](XmlCSS& child) { child.startAnimations(); });
    });
}

void XmlCSS::stopAnimations()
{
    lq::modelFrame(this, "stopAnimations", [&] {
        forEachStyleChild(*this, [](XmlCSS& child) { child.stopAnimations(); });
    });
}

// --- Generation hooks --------------------------------------------------------------------------

void XmlCSS::appendHTMLPagePassSheet(QString&, XmlBase*, PagePass, XmlStyleSheet*)
{
}

void XmlCSS::appendCSS(QString&)
{
}

void XmlCSS::appendCSSWinIESuffix(QString&, const QString&)
{
}

void XmlCSS::appendJavascriptWinIE(QString&)
{
}

void XmlCSS::genCSSBitmap(QString&)
{
}

// --- Current album -----------------------------------------------------------------------------

std::shared_ptr<XmlAlbum> XmlCSS::getCurrentAlbum() const
{
    return lq::modelFrame(this, "getCurrentAlbum", [&]() -> std::shared_ptr<XmlAlbum> {
        if (_currentAlbum.isEmpty())
            return nullptr;
        return std::dynamic_pointer_cast<XmlAlbum>(XmlBase::UUID(_currentAlbum));
    });
}

void XmlCSS::setCurrentAlbum(XmlBase* album)
{
    lq::modelFrame(this, "setCurrentAlbum:", [&] {
        _currentAlbum = album ? album->UUID() : QString();
    });
}

XmlBase* XmlCSS::pageOrCurrentAlbum(XmlBase* page, std::shared_ptr<XmlAlbum>& keep)
{
    if (page) {
        setCurrentAlbum(page);
        return page;
    }
    keep = getCurrentAlbum();
    return keep.get();
}

// --- Bitmap housekeeping -----------------------------------------------------------------------

void XmlCSS::listOfBitmaps(QStringList& names)
{
    lq::modelFrame(this, "listOfBitmaps:", [&] {
        forEachBitmapChild(
            *this, [&](XmlCSS& child) { child.listOfBitmaps(names); },
            [&](XmlCSSImage& child) { child.listOfBitmaps(names); });
    });
}

void XmlCSS::convert1_2Bitmaps()
{
    lq::modelFrame(this, "convert1_2Bitmaps", [&] {
        forEachBitmapChild(
            *this, [](XmlCSS& child) { child.convert1_2Bitmaps(); },
            [](XmlCSSImage& child) { child.convert1_2Bitmaps(); });
    });
}

void XmlCSS::changeImageUUID(const QHash<QString, QString>& uuids)
{
    lq::modelFrame(this, "changeImageUUID:", [&] {
        forEachBitmapChild(
            *this, [&](XmlCSS& child) { child.changeImageUUID(uuids); },
            [&](XmlCSSImage& child) { child.changeImageUUID(uuids); });
    });
}

void XmlCSS::unpackToDirectory(const QString& folder)
{
    lq::modelFrame(this, "unpackToDirectory:", [&] {
        forEachBitmapChild(
            *this, [&](XmlCSS& child) { child.unpackToDirectory(folder); },
            [&](XmlCSSImage& child) { child.unpackToDirectory(folder); });
    });
}
