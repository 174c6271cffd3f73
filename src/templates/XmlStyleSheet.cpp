#include "templates/XmlStyleSheet.h"

#include "model/core/ElementFactory.h"
#include "model/core/SuppressedChanges.h"

#include "model/core/DocumentBase.h"
#include "model/site/XmlAlbum.h"
#include "platform/ExceptionFrame.h"
#include "platform/Log.h"
#include "platform/Strings.h"
#include "platform/ValueStrings.h"
#include "platform/graphics/GraphicsContext.h"
#include "platform/graphics/GraphicsImage.h"
#include "templates/XmlBoxModel.h"
#include "templates/TemplateHolder.h"
#include "templates/XmlCSSImage.h"
#include "templates/XmlWebFont.h"

#include <cmath>
#include <limits>
#include <typeinfo>
#include <utility>

using namespace lq::literals;

namespace {

// Page coordinates become whole pixels by cutting toward zero, kept inside
// the int range.
int truncated(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= static_cast<double>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (value <= static_cast<double>(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return static_cast<int>(value);
}

bool holdsLayerBox(const XmlBase* element)
{
    const XmlCSS* style = dynamic_cast<const XmlCSS*>(element);
    return style && style->isLayerBox();
}

QSet<QString> namesOf(const QString& list)
{
    QSet<QString> names;
    names.reserve(10);
    for (const QString& name : list.split(QLatin1Char(',')))
        names.insert(name);
    return names;
}

} // namespace

XmlStyleSheet::XmlStyleSheet(Key key)
    : XmlCSSBackground(key)
{
    _have_children = true;
    _bkgndColor = lq::Colour(0.2f, 0.2f, 0.2f, 1.0f);
}

std::shared_ptr<XmlStyleSheet> XmlStyleSheet::create()
{
    return make<XmlStyleSheet>();
}

QString XmlStyleSheet::elementName() const
{
    return QStringLiteral("cssStyleSheet");
}

bool XmlStyleSheet::canYouBeMyParent(XmlBase* child)
{
    return lq::modelFrame(this, "canYouBeMyParent:", [&] {
        return XmlBoxModel::cast(child) != nullptr || XmlWebFont::cast(child) != nullptr;
    });
}

void XmlStyleSheet::setAttributeTo(const QString& key, const QString& value)
{
    lq::modelFrame(this, "setAttribute:to:", [&] {
        const int number = value.toInt();
        // The flags take the integer's low byte, as a stored BOOL would.
        const bool flag = static_cast<unsigned char>(number) != 0;
        if (key == u"primary"_sv) {
            if (!_primaryPage)
                _primaryPage.emplace();
            _primaryPage->unite(namesOf(value));
        } else if (key == u"secondary"_sv) {
            if (!_secondaryPage)
                _secondaryPage.emplace();
            _secondaryPage->unite(namesOf(value));
        } else if (key == u"tseq"_sv)
            setTemplateSeqNum(number);
        else if (key == u"ticon"_sv)
            setTicon(number);
        else if (key == u"custom"_sv)
            setCustom(number);
        else if (key == u"pto"_sv)
            setPageTopOffset(number);
        else if (key == u"plo"_sv)
            setPageLeftOffset(number);
        else if (key == u"mph"_sv)
            setPageMinHeight(number);
        else if (key == u"wwp"_sv)
            setPageWidth(number);
        else if (key == u"sbs"_sv)
            setSidebarSide(number);
        else if (key == u"cph"_sv)
            setCenterHorz(flag);
        else if (key == u"cpv"_sv)
            setCenterVert(flag);
        else if (key == u"ihs"_sv)
            setHorizontalSpace(number);
        else if (key == u"ivs"_sv)
            setVerticalSpace(number);
        else if (key == u"hnv"_sv)
            setHasNav(flag);
        else if (key == u"browserFlow"_sv)
            setBrowserFlow(flag);
        else
            XmlCSSBackground::setAttributeTo(key, value);
    });
}

void XmlStyleSheet::appendAttributes(QString& xml)
{
    lq::modelFrame(this, "appendAttributes:", [&] {
        XmlCSSBackground::appendAttributes(xml);
        xml += QStringLiteral(" tseq=\"%1\"").arg(templateSeqNum());
        xml += QStringLiteral(" ticon=\"%1\"").arg(ticon());
        xml += QStringLiteral(" custom=\"%1\"").arg(custom());
        xml += QStringLiteral(" pto=\"%1\" plo=\"%2\" mph=\"%3\" wwp=\"%4\"")
                   .arg(pageTopOffset())
                   .arg(pageLeftOffset())
                   .arg(pageMinHeight())
                   .arg(pageWidth());
        xml += QStringLiteral(" sbs=\"%1\"").arg(sidebarSide());
        xml += QStringLiteral(" cph=\"%1\"").arg(centerHorz() ? 1 : 0);
        xml += QStringLiteral(" cpv=\"%1\"").arg(centerVert() ? 1 : 0);
        xml += QStringLiteral(" ihs=\"%1\" ivs=\"%2\"").arg(QString::number(horizontalSpace()), QString::number(verticalSpace()));
        xml += QStringLiteral(" hnv=\"%1\"").arg(hasNav() ? 1 : 0);
        xml += QStringLiteral(" browserFlow=\"%1\"").arg(browserFlow() ? 1 : 0);
    });
}

void XmlStyleSheet::forceElementToIndex(const QString& name, int index)
{
    lq::modelFrame(this, "forceElement:toIndex:", [&] {
        const XmlBaseList list = children();
        // An element of that name already at the index stays there: with two
        // of one name (two menus named "Navigation"), taking the first each
        // time would swap them at every read, and a template would not read
        // back as it was written.
        int place = -1;
        if (index >= 0 && index < list.size() && list[index]->name() == name)
            place = index;
        for (int i = 0; place < 0 && i < list.size(); ++i) {
            if (list[i]->name() == name)
                place = i;
        }
        if (place < 0)
            return;
        XmlCSS* element = XmlCSS::cast(list[place].get());
        if (element && _primaryPage && !_primaryPage->contains(name))
            element->setVisible(false);
        if (element && _secondaryPage && !_secondaryPage->contains(name))
            element->setVisibleInSlideshow(false);
        if (place != index && index >= 0 && index < list.size())
            std::swap(childStore()[static_cast<std::size_t>(place)], childStore()[static_cast<std::size_t>(index)]);
    });
}

void XmlStyleSheet::postload()
{
    lq::modelFrame(this, "postload", [&] {
        static const char* const standard[] = { "Content", "Masthead", "Photo Album", "Slideshow",
                                                "Page Title", "Navigation", "Footer" };
        int index = 0;
        for (const char* name : standard)
            forceElementToIndex(QString::fromLatin1(name), index++);
        XmlCSSBackground::postload();
    });
}

// --- Stored values ------------------------------------------------------------------------------

void XmlStyleSheet::setTicon(int icon)
{
    setStored(_ticon, icon, "setTicon:");
}

void XmlStyleSheet::setCustom(int custom)
{
    setStored(_custom, custom, "setCustom:");
}

QString XmlStyleSheet::filename() const
{
    return lq::modelFrame(this, "filename", [&] {
        return _templateSeqNumber == 0 ? QStringLiteral("theme.css")
                                       : QStringLiteral("theme%1.css").arg(_templateSeqNumber);
    });
}

void XmlStyleSheet::setPageTopOffset(int offset)
{
    setStored(_pageTopOffset, offset, "setPageTopOffset:");
}

void XmlStyleSheet::setPageLeftOffset(int offset)
{
    setStored(_pageLeftOffset, offset, "setPageLeftOffset:");
}

void XmlStyleSheet::setPageMinHeight(int height)
{
    setStored(_pageMinHeight, height, "setPageMinHeight:");
}

void XmlStyleSheet::setPageWidth(int width)
{
    setStored(_pageWidth, width, "setPageWidth:");
}

void XmlStyleSheet::setSidebarSide(int side)
{
    setStored(_sidebarSide, side, "setSidebarSide:");
}

void XmlStyleSheet::setCenterHorz(bool center)
{
    setStored(_centerHorz, center, "setCenterHorz:");
}

void XmlStyleSheet::setCenterVert(bool center)
{
    setStored(_centerVert, center, "setCenterVert:");
}

void XmlStyleSheet::setVerticalSpace(int space)
{
    setStored(_verticalSpace, space, "setVerticalSpace:");
}

void XmlStyleSheet::setHorizontalSpace(int space)
{
    setStored(_horizontalSpace, space, "setHorizontalSpace:");
}

void XmlStyleSheet::setHasNav(bool hasNav)
{
    setStored(_hasNav, hasNav, "setHasNav:");
}

void XmlStyleSheet::setBrowserFlow(bool flow)
{
    setStored(_browserFlow, flow, "setBrowserFlow:");
}

bool XmlStyleSheet::addFontBag(const QString& style)
{
    return lq::modelFrame(this, "addFontBag:", [&] {
        if (_fontBag.contains(style))
            return true;
        _fontBag.insert(style);
        return false;
    });
}

lq::Rect XmlStyleSheet::objectRect() const
{
    return mybounds;
}

// --- View and elements --------------------------------------------------------------------------

int XmlStyleSheet::setPageView(XmlBase* page, View view)
{
    return lq::modelFrame(this, "setPage:view:", [&] {
        if (!page)
            return 0;
        _page = View::Page;
        if (view != View::Page && typeid(*page) == typeid(XmlAlbum)) {
            XmlCSS* album = XmlCSS::cast(getElementWithName(QStringLiteral("Photo Album")).get());
            // Only an album whose thumbnails open the slideshow page has one.
            if (album && album->visible() && album->opensSlideshowPage())
                _page = View::Slideshow;
        }
        int count = 0;
        for (const auto& element : childrenOfType<XmlCSS>()) {
            if (element->enabled() && !element->isLayerBox())
                ++count;
        }
        return count;
    });
}

QStringList XmlStyleSheet::visibleElements()
{
    return lq::modelFrame(this, "visibleElements", [&] {
        const View saved = _page;
        _page = View::Page;
        QStringList names;
        for (const auto& element : childrenOfType<XmlCSS>()) {
            if (element->enabled() && element->name() != u"Photo Album" && !element->isLayerBox())
                names.append(element->name());
        }
        _page = saved;
        return names;
    });
}

XmlCSSPtr XmlStyleSheet::objectAtPoint(const lq::Point& point)
{
    return lq::modelFrame(this, "objectAtPoint:", [&]() -> XmlCSSPtr {
        if (view() != View::Slideshow)
            return XmlCSSBackground::objectAtPoint(point);
        const XmlBasePtr element = getElementWithName(QStringLiteral("Slideshow"));
        XmlCSS* slideshow = XmlCSS::cast(element.get());
        if (!slideshow || !slideshow->isSlideshow())
            return nullptr;
        slideshow->objectAtPoint(point);
        return std::static_pointer_cast<XmlCSS>(element);
    });
}

XmlBasePtr XmlStyleSheet::getElementWithName(const QString& name) const
{
    return lq::modelFrame(this, "getElementWithName:", [&]() -> XmlBasePtr {
        for (const XmlBasePtr& child : children()) {
            if (child->name() == name)
                return child;
        }
        return nullptr;
    });
}

bool XmlStyleSheet::allowImageInBackground()
{
    return lq::modelFrame(this, "allowImageInBackground", [&] {
        if (_page != View::Slideshow)
            return true;
        XmlCSS* slideshow = XmlCSS::cast(getElementWithName(QStringLiteral("Slideshow")).get());
        return !slideshow || slideshow->allowBkgndImage();
    });
}

// --- Vorn Boxes ---------------------------------------------------------------------------------

XmlCSSPtr XmlStyleSheet::addLayerBox()
{
    return lq::modelFrame(this, "addVornBox", [&]() -> XmlCSSPtr {
        XmlCSSPtr box = std::dynamic_pointer_cast<XmlCSS>(lq::factoryCreateChildFromTag(QStringLiteral("cssVornBox")));
        if (!box)
            return nullptr;
        addChild(box);
        // The theme hands out the box's number, unique within the theme.
        if (auto* theme = dynamic_cast<TemplateHolder*>(_parent))
            box->setVornSeqNum(theme->vornboxSeqNumber());
        docChanged();
        return box;
    });
}

void XmlStyleSheet::deleteVornBox(XmlBase* box)
{
    lq::modelFrame(this, "deleteVornBox:", [&] {
        if (box && indexOfChild(box) >= 0)
            removeChild(box);
    });
}

void XmlStyleSheet::moveVornBox(XmlBase* box, int direction)
{
    std::vector<XmlBasePtr>& store = childStore();
    std::vector<std::size_t> places;
    std::size_t mine = store.size();
    for (std::size_t i = 0; i < store.size(); ++i) {
        if (!holdsLayerBox(store[i].get()))
            continue;
        if (store[i].get() == box && mine == store.size())
            mine = places.size();
        places.push_back(i);
    }
    if (mine == store.size())
        return;
    if (direction < 0 && mine == 0)
        return;
    if (direction > 0 && mine + 1 >= places.size())
        return;
    const std::size_t other = direction < 0 ? mine - 1 : mine + 1;
    std::swap(store[places[mine]], store[places[other]]);
}

void XmlStyleSheet::moveVornBoxUp(XmlBase* box)
{
    lq::modelFrame(this, "moveVornBoxUp:", [&] { moveVornBox(box, -1); });
}

void XmlStyleSheet::moveVornBoxDown(XmlBase* box)
{
    lq::modelFrame(this, "moveVornBoxDown:", [&] { moveVornBox(box, 1); });
}

// --- Layout ---------------------------------------------------------------------------------------

void XmlStyleSheet::relayoutFlags(XmlBase* page, int flags)
{
    // The layout runs while the canvas draws: a failure is logged with the
    // template's XML and goes no further. Change marks stay suppressed for
    // the whole layout and are resumed however it ends.
    SuppressedChanges quiet(*this);
    try {
        layoutPage(page, flags);
    } catch (const lq::Exception& failure) {
        lq::log(QStringLiteral("relayout error: %1: %2").arg(failure.name(), failure.reason()));
        lq::log(createXml());
    }
}

void XmlStyleSheet::layoutPage(XmlBase* page, int flags)
{
    std::shared_ptr<XmlAlbum> remembered;
    page = pageOrCurrentAlbum(page, remembered);
    if (!page)
        return;
    if (DocumentBase* document = myDocument())
        document->clearTrackingData();

    const XmlBaseList list = children();
    XmlBoxModel* content = nullptr;
    for (const XmlBasePtr& child : list) {
        XmlCSS* element = XmlCSS::cast(child.get());
        if (element && element->pageRole() == PageRole::Text) {
            content = XmlBoxModel::cast(child.get());
            break;
        }
    }
    if (content) {
        content->setPageBounds(lq::Rect());
        content->clearFloatRects();
    }

    lq::Rect bounds;
    int left = 100000;
    int right = -100000;
    _leftEdgeElement = QStringLiteral("");
    _rightEdgeElement = QStringLiteral("");
    const auto edgeCheck = [&](const XmlBase& element) {
        const int x = truncated(bounds.x());
        const int xRight = truncated(static_cast<double>(bounds.x()) + bounds.width());
        if (x < left) {
            left = x;
            _leftEdgeElement = element.name();
        }
        if (xRight > right) {
            right = xRight;
            _rightEdgeElement = element.name();
        }
    };

    XmlCSS* footer = nullptr;
    XmlCSS* afterText = nullptr;
    for (const XmlBasePtr& child : list) {
        XmlCSS* element = XmlCSS::cast(child.get());
        if (!element)
            continue;
        element->setCurrentAlbum(page);
        if (!element->visible())
            continue;
        if (element->pageRole() == PageRole::Foot) {
            footer = element;
            continue;
        }
        if (element->pageRole() == PageRole::Text)
            continue;
        // An album whose grid follows the page text waits for that text.
        if (element->pageRole() == PageRole::AfterText) {
            afterText = element;
            continue;
        }
        // Photo albums and slideshows join with their own box until they
        // answer the rectangles of their thumbnails; every album is laid out
        // with the other elements.
        element->relayoutFlags(page, flags);
        const lq::Rect frame = element->objectRect();
        // The content text flows round every element laid out over it; a
        // layer box only when it is set to push the text aside.
        if (content && element->pushesTextAside())
            content->addFloatRect(lq::rectToString(frame));
        bounds = bounds.united(frame);
        edgeCheck(*child);
    }

    if (content && content->visible()) {
        content->setPageBounds(lq::Rect());
        content->relayoutFlags(page, flags);
        lq::Rect frame = content->objectRect();
        frame.size.height = static_cast<float>(content->actualHeight());
        bounds = bounds.united(frame);
        edgeCheck(*content);
    }

    if (afterText) {
        afterText->setAfterTop(content ? content->bottomOfText() : truncated(static_cast<double>(bounds.y()) + bounds.height()));
        afterText->relayoutFlags(page, flags);
        bounds = bounds.united(afterText->objectRect());
    }

    if (content)
        content->setPageBounds(bounds);
    setMiddleSlice(truncated(static_cast<double>(bounds.y()) + bounds.height()));

    if (footer) {
        footer->setPageBounds(bounds);
        footer->relayoutFlags(page, flags);
        bounds = bounds.united(footer->objectRect());
        edgeCheck(*footer);
    }

    _calcPageWidth = truncated(bounds.width());
    _calcPageHeight = truncated(bounds.height());
    _calcPageLeft = truncated(bounds.x());
    _calcPageRight = truncated(static_cast<double>(bounds.x()) + bounds.width());

    lq::Rect canvas = bounds.united(lq::Rect(0, 0, 1, 1));
    canvas.size.height = static_cast<float>(truncated(canvas.height() / 1000.0) * 1000 + 1000);
    mybounds = canvas;
}

// --- Drawing ------------------------------------------------------------------------------------

void XmlStyleSheet::drawBackdrop(const lq::Rect& rect)
{
    lq::modelFrame(this, "drawBackdrop:", [&] {
        lq::GraphicsContext* context = lq::GraphicsContext::current();
        if (!context)
            return;
        context->setFillColor(bkgnd() != 0 ? bkgndColor() : lq::Colour::white());
        context->fillRect(rect);
        if (bkgnd() != 6)
            XmlCSSBackground::drawObject(rect);
    });
}

void XmlStyleSheet::drawBackdrop2(const lq::Rect& rect)
{
    lq::modelFrame(this, "drawBackdrop2:", [&] {
        if (bkgnd() == 6)
            XmlCSSBackground::drawObject(rect);
    });
}

void XmlStyleSheet::draw()
{
    lq::modelFrame(this, "draw", [&] {
        const XmlBaseList list = children();
        drawVornsAtZindex(QStringLiteral("Background"));
        for (const XmlBasePtr& child : list) {
            XmlCSS* element = XmlCSS::cast(child.get());
            if (element && element->visible() && !element->isLayerBox())
                element->drawObject();
        }
        drawVornsAtZindex(QStringLiteral("Middle"));
        for (const XmlBasePtr& child : list) {
            XmlCSS* element = XmlCSS::cast(child.get());
            if (element && element->visible() && !element->isLayerBox())
                element->drawText();
        }
        drawVornsAtZindex(QStringLiteral("Foreground"));
    });
}

void XmlStyleSheet::drawVornsAtZindex(const QString& layer)
{
    lq::modelFrame(this, "drawVornsAtZindex:", [&] {
        for (const auto& box : childrenOfType<XmlCSS>()) {
            if (box->isLayerBox() && box->zlocation() == layer && box->visible()) {
                box->drawObject();
                box->drawText();
            }
        }
    });
}

QStringList XmlStyleSheet::guideRectArray()
{
    return lq::modelFrame(this, "guideRectArray", [&] {
        QStringList rects;
        rects.reserve(10);
        for (const auto& element : childrenOfType<XmlCSS>()) {
            if (element->visible())
                rects.append(lq::rectToString(element->guideRect()));
        }
        return rects;
    });
}

XmlBaseList XmlStyleSheet::selectableObjects()
{
    return lq::modelFrame(this, "selectableObjects", [&] {
        XmlBaseList list;
        if (_page == View::Slideshow) {
            if (XmlBasePtr slideshow = getElementWithName(QStringLiteral("Slideshow")))
                list.append(slideshow);
            return list;
        }
        for (const auto& element : childrenOfType<XmlCSS>()) {
            if (element->visible() && element->name() != u"Slideshow")
                element->getSelectableObjects(list);
        }
        return list;
    });
}
