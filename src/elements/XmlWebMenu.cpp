#include "elements/XmlWebMenu.h"

#include "elements/XmlWebText.h"
#include "model/core/DocumentBase.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlGroup.h"
#include "model/site/XmlHomePage.h"
#include "model/site/XmlSite.h"
#include "platform/ExceptionFrame.h"
#include "platform/Log.h"
#include "platform/Strings.h"
#include "platform/graphics/GraphicsContext.h"
#include "platform/text/LayoutManager.h"
#include "platform/text/StyledText.h"
#include "platform/text/TextContainer.h"
#include "templates/XmlStyleSheet.h"
#include "templates/XmlWebFont.h"

#include <algorithm>

namespace {

// Submenu items are numbered from here.
constexpr int firstSubmenuItem = 1000;

float toFloat(int value)
{
    return static_cast<float>(value);
}

// The four measuring anchors of the site script's font check.
constexpr const char* measuringAnchors =
    "<a id=\"ac\" class=\"current\" href=\"#\" style=\"top:0px; left:-9999px;\">&nbsp;</a>\n"
    "<a id=\"an\" class=\"nav\" href=\"#\" style=\"top:0px; left:-9999px;\">&nbsp;</a>\n"
    "<a id=\"asc\" class=\"subcurrent\" href=\"#\" style=\"top:0px; left:-9999px;\">&nbsp;</a>\n"
    "<a id=\"asn\" class=\"subnav\" href=\"#\" style=\"top:0px; left:-9999px;\">&nbsp;</a>\n";

} // namespace

// --- Item texts ------------------------------------------------------------------------------

XmlWebMenu::ItemText::ItemText()
    : _storage(std::make_shared<lq::StyledText>())
    , _lm(std::make_unique<lq::LayoutManager>())
    , _tc(std::make_shared<lq::TextContainer>(QSizeF(unboundedExtent, unboundedExtent)))
{
    _lm->setTextStorage(_storage);
    _tc->setLineFragmentPadding(0);
    _lm->addTextContainer(_tc);
}

XmlWebMenu::ItemText::~ItemText()
{
    // The manager first: it lets its container go before the container is dropped.
    _lm.reset();
}

int XmlWebMenu::ItemText::usedWidth() const
{
    return lq::truncatedPixel(_lm->usedRectForTextContainer(_tc.get()).width());
}

int XmlWebMenu::ItemText::usedHeight() const
{
    return lq::truncatedPixel(_lm->usedRectForTextContainer(_tc.get()).height());
}

// --- Element protocol ------------------------------------------------------------------------

XmlWebMenu::XmlWebMenu(Key key)
    : XmlBoxModel(key)
{
    _widthFixed = true;
    _absolute = true;
    const auto makeBackground = [this](const char* tag) {
        std::shared_ptr<XmlCSSBackground> background = XmlCSSBackground::create();
        background->setParent(this);
        background->setElementOverride(QLatin1String(tag));
        return background;
    };
    _normalBkgnd = makeBackground("normalBkgnd");
    _hoverBkgnd = makeBackground("hoverBkgnd");
    _clickBkgnd = makeBackground("clickBkgnd");
    _currentBkgnd = makeBackground("currentBkgnd");
}

XmlWebMenu::~XmlWebMenu()
{
    // The backgrounds may outlive the menu in other hands; they must not point back at it.
    for (XmlCSSBackground* background : { _normalBkgnd.get(), _hoverBkgnd.get(), _clickBkgnd.get(), _currentBkgnd.get() })
        background->setParent(nullptr);
}

std::shared_ptr<XmlWebMenu> XmlWebMenu::create()
{
    return make<XmlWebMenu>();
}

QString XmlWebMenu::elementName() const
{
    return QStringLiteral("cssWebMenu");
}

bool XmlWebMenu::enabled()
{
    return true;
}

XmlBasePtr XmlWebMenu::createChildFromTag(const QString& tag)
{
    return lq::modelFrame(this, "createChildFromTag:", [&]() -> XmlBasePtr {
        // The reader fills the menu's own background; the box takes no such
        // child, so it is not attached a second time.
        if (tag == u"normalBkgnd")
            return _normalBkgnd;
        if (tag == u"hoverBkgnd")
            return _hoverBkgnd;
        if (tag == u"clickBkgnd")
            return _clickBkgnd;
        if (tag == u"currentBkgnd")
            return _currentBkgnd;
        return XmlBoxModel::createChildFromTag(tag);
    });
}

void XmlWebMenu::appendAttributes(QString& xml)
{
    lq::modelFrame(this, "appendAttributes:", [&] {
        XmlBoxModel::appendAttributes(xml);
        const auto number = [&](const char* key, int value) {
            xml += QString::asprintf(" %s=\"%d\"", key, value);
        };
        const auto colour = [&](const char* key, const lq::Colour& value) {
            xml += QLatin1Char(' ') + QLatin1String(key) + QStringLiteral("=\"") + colorToCSSString(value)
                + QLatin1Char('"');
        };
        number("orient", orientation());
        number("hspace", leadingHorzSpace());
        colour("nBkgnd", normalBkgnd());
        colour("nText", _normalText);
        colour("hBkgnd", hoverBkgnd());
        colour("hText", _hoverText);
        colour("cBkgnd", clickBkgnd());
        colour("cText", _clickText);
        colour("crBkgnd", currentBkgnd());
        colour("crText", _currentText);
        number("nBkEn", normalBkgndEn() ? 1 : 0);
        number("hBkEn", hoverBkgndEn() ? 1 : 0);
        number("cBkEn", clickBkgndEn() ? 1 : 0);
        number("crBkEn", currentBkgndEn() ? 1 : 0);
        number("nUnderline", _normalUnderline);
        number("hUnderline", _hoverUnderline);
        number("cUnderline", _clickUnderline);
        number("crUnderline", _currentUnderline);
        number("mipt", _mipt);
        number("mipl", _mipl);
        number("mipb", _mipb);
        number("mipr", _mipr);
        number("mibt", _mibt);
        number("mibl", _mibl);
        number("mibb", _mibb);
        number("mibr", _mibr);
        number("mibtype", _mibtype);
        number("mispace", _mispace);
        colour("mibtc", _mibtc);
        colour("miblc", _miblc);
        colour("mibbc", _mibbc);
        colour("mibrc", _mibrc);
        number("gtype", _navTypeForGroup);
        number("npl", _navPlacement);
        number("ism", _indentSubmenu);
        number("miw", _miWidth);
        number("sfs", _subFontSize);
        number("ugr", _useGraphicRollover ? 1 : 0);
    });
}

void XmlWebMenu::setAttributeTo(const QString& key, const QString& value)
{
    lq::modelFrame(this, "setAttribute:to:", [&] {
        const auto colour = [&] { return stringToColor(value).value_or(lq::Colour::black()); };
        const int number = lq::intValue(value);
        // Flags are kept in one byte: only the low byte of the number counts.
        const bool flag = static_cast<qint8>(number & 0xFF) != 0;
        if (key == u"orient")
            setOrientation(number);
        else if (key == u"nBkgnd")
            setNormalBkgnd(colour());
        else if (key == u"nText")
            setNormalText(colour());
        else if (key == u"hBkgnd")
            setHoverBkgnd(colour());
        else if (key == u"hText")
            setHoverText(colour());
        else if (key == u"cBkgnd")
            setClickBkgnd(colour());
        else if (key == u"cText")
            setClickText(colour());
        else if (key == u"crBkgnd")
            setCurrentBkgnd(colour());
        else if (key == u"crText")
            setCurrentText(colour());
        else if (key == u"nBkEn")
            setNormalBkgndEn(flag);
        else if (key == u"hBkEn")
            setHoverBkgndEn(flag);
        else if (key == u"cBkEn")
            setClickBkgndEn(flag);
        else if (key == u"crBkEn")
            setCurrentBkgndEn(flag);
        else if (key == u"nUnderline")
            setNormalUnderline(number);
        else if (key == u"hUnderline")
            setHoverUnderline(number);
        else if (key == u"cUnderline")
            setClickUnderline(number);
        else if (key == u"crUnderline")
            setCurrentUnderline(number);
        else if (key == u"mipt")
            setMipt(number);
        else if (key == u"mipl")
            setMipl(number);
        else if (key == u"mipb")
            setMipb(number);
        else if (key == u"mipr")
            setMipr(number);
        else if (key == u"mibt")
            setMibt(number);
        else if (key == u"mibl")
            setMibl(number);
        else if (key == u"mibb")
            setMibb(number);
        else if (key == u"mibr")
            setMibr(number);
        else if (key == u"mibtype")
            setMibtype(number);
        else if (key == u"mispace")
            setMispace(number);
        else if (key == u"mibtc")
            setMibtc(colour());
        else if (key == u"miblc")
            setMiblc(colour());
        else if (key == u"mibbc")
            setMibbc(colour());
        else if (key == u"mibrc")
            setMibrc(colour());
        else if (key == u"gtype")
            setNavTypeForGroup(number);
        else if (key == u"npl")
            setNavPlacement(number);
        else if (key == u"ism")
            setIndentSubmenu(number);
        else if (key == u"miw")
            setMiWidth(number);
        else if (key == u"sfs")
            setSubFontSize(number);
        else if (key == u"ugr")
            setUseGraphicRollover(flag);
        else
            XmlBoxModel::setAttributeTo(key, value);
    });
}

QString XmlWebMenu::writeXmlVorns()
{
    return lq::modelFrame(this, "writeXmlVorns", [&] {
        QString xml = XmlBoxModel::writeXmlVorns();
        if (xml.isNull())
            xml = QStringLiteral("");
        for (XmlCSSBackground* background : { _normalBkgnd.get(), _hoverBkgnd.get(), _currentBkgnd.get(), _clickBkgnd.get() })
            xml += background->createXml();
        return xml;
    });
}

// --- Stored values -----------------------------------------------------------------------------

void XmlWebMenu::setInt(int& field, int value)
{
    field = value;
    docChanged();
}

void XmlWebMenu::setColour(lq::Colour& field, const lq::Colour& value)
{
    field = value;
    docChanged();
}

const lq::Colour& XmlWebMenu::normalBkgnd() const { return _normalBkgnd->bkgndColor(); }
const lq::Colour& XmlWebMenu::hoverBkgnd() const { return _hoverBkgnd->bkgndColor(); }
const lq::Colour& XmlWebMenu::clickBkgnd() const { return _clickBkgnd->bkgndColor(); }
const lq::Colour& XmlWebMenu::currentBkgnd() const { return _currentBkgnd->bkgndColor(); }
void XmlWebMenu::setNormalBkgnd(const lq::Colour& colour) { lq::modelFrame(this, "setNormalBkgnd:", [&] { _normalBkgnd->setBkgndColor(colour); }); }
void XmlWebMenu::setHoverBkgnd(const lq::Colour& colour) { lq::modelFrame(this, "setHoverBkgnd:", [&] { _hoverBkgnd->setBkgndColor(colour); }); }
void XmlWebMenu::setClickBkgnd(const lq::Colour& colour) { lq::modelFrame(this, "setClickBkgnd:", [&] { _clickBkgnd->setBkgndColor(colour); }); }
void XmlWebMenu::setCurrentBkgnd(const lq::Colour& colour) { lq::modelFrame(this, "setCurrentBkgnd:", [&] { _currentBkgnd->setBkgndColor(colour); }); }

bool XmlWebMenu::normalBkgndEn() const { return _normalBkgnd->bkgnd() == 2 || _normalBkgndEn; }
bool XmlWebMenu::hoverBkgndEn() const { return _hoverBkgnd->bkgnd() == 2 || _hoverBkgndEn; }
bool XmlWebMenu::clickBkgndEn() const { return _clickBkgnd->bkgnd() == 2 || _clickBkgndEn; }
bool XmlWebMenu::currentBkgndEn() const { return _currentBkgnd->bkgnd() == 2 || _currentBkgndEn; }

void XmlWebMenu::setEnable(bool& field, XmlCSSBackground& background, bool enabled)
{
    field = enabled;
    // With graphic rollovers every background keeps its picture mode.
    if (!_useGraphicRollover)
        background.setBkgnd(enabled ? 1 : 0);
    docChanged();
}

void XmlWebMenu::setNormalBkgndEn(bool enabled) { lq::modelFrame(this, "setNormalBkgndEn:", [&] { setEnable(_normalBkgndEn, *_normalBkgnd, enabled); }); }
void XmlWebMenu::setHoverBkgndEn(bool enabled) { lq::modelFrame(this, "setHoverBkgndEn:", [&] { setEnable(_hoverBkgndEn, *_hoverBkgnd, enabled); }); }
void XmlWebMenu::setClickBkgndEn(bool enabled) { lq::modelFrame(this, "setClickBkgndEn:", [&] { setEnable(_clickBkgndEn, *_clickBkgnd, enabled); }); }
void XmlWebMenu::setCurrentBkgndEn(bool enabled) { lq::modelFrame(this, "setCurrentBkgndEn:", [&] { setEnable(_currentBkgndEn, *_currentBkgnd, enabled); }); }

void XmlWebMenu::setUseGraphicRollover(bool use)
{
    lq::modelFrame(this, "setUseGraphicRollover:", [&] {
        _useGraphicRollover = use;
        const std::pair<XmlCSSBackground*, bool> states[] = {
            { _normalBkgnd.get(), _normalBkgndEn },
            { _hoverBkgnd.get(), _hoverBkgndEn },
            { _clickBkgnd.get(), _clickBkgndEn },
            { _currentBkgnd.get(), _currentBkgndEn },
        };
        for (const auto& [background, enabled] : states)
            background->setBkgnd(use ? 2 : (enabled ? 1 : 0));
        for (const auto& [background, enabled] : states)
            background->setTransparentBkgnd(use ? 1 : 0);
        docChanged();
    });
}

void XmlWebMenu::setNormalText(const lq::Colour& colour) { lq::modelFrame(this, "setNormalText:", [&] { setColour(_normalText, colour); }); }
void XmlWebMenu::setHoverText(const lq::Colour& colour) { lq::modelFrame(this, "setHoverText:", [&] { setColour(_hoverText, colour); }); }
void XmlWebMenu::setClickText(const lq::Colour& colour) { lq::modelFrame(this, "setClickText:", [&] { setColour(_clickText, colour); }); }
void XmlWebMenu::setCurrentText(const lq::Colour& colour) { lq::modelFrame(this, "setCurrentText:", [&] { setColour(_currentText, colour); }); }
void XmlWebMenu::setNormalUnderline(int underline) { lq::modelFrame(this, "setNormalUnderline:", [&] { setInt(_normalUnderline, underline); }); }
void XmlWebMenu::setHoverUnderline(int underline) { lq::modelFrame(this, "setHoverUnderline:", [&] { setInt(_hoverUnderline, underline); }); }
void XmlWebMenu::setClickUnderline(int underline) { lq::modelFrame(this, "setClickUnderline:", [&] { setInt(_clickUnderline, underline); }); }
void XmlWebMenu::setCurrentUnderline(int underline) { lq::modelFrame(this, "setCurrentUnderline:", [&] { setInt(_currentUnderline, underline); }); }

void XmlWebMenu::setMipt(int padding) { lq::modelFrame(this, "setMipt:", [&] { setInt(_mipt, padding); }); }
void XmlWebMenu::setMipl(int padding) { lq::modelFrame(this, "setMipl:", [&] { setInt(_mipl, padding); }); }
void XmlWebMenu::setMipb(int padding) { lq::modelFrame(this, "setMipb:", [&] { setInt(_mipb, padding); }); }
void XmlWebMenu::setMipr(int padding) { lq::modelFrame(this, "setMipr:", [&] { setInt(_mipr, padding); }); }
void XmlWebMenu::setMibt(int width) { lq::modelFrame(this, "setMibt:", [&] { setInt(_mibt, width); }); }
void XmlWebMenu::setMibl(int width) { lq::modelFrame(this, "setMibl:", [&] { setInt(_mibl, width); }); }
void XmlWebMenu::setMibb(int width) { lq::modelFrame(this, "setMibb:", [&] { setInt(_mibb, width); }); }
void XmlWebMenu::setMibr(int width) { lq::modelFrame(this, "setMibr:", [&] { setInt(_mibr, width); }); }
void XmlWebMenu::setMibtype(int type) { lq::modelFrame(this, "setMibtype:", [&] { setInt(_mibtype, type); }); }
void XmlWebMenu::setMispace(int space) { lq::modelFrame(this, "setMispace:", [&] { setInt(_mispace, space); }); }
void XmlWebMenu::setMibtc(const lq::Colour& colour) { lq::modelFrame(this, "setMibtc:", [&] { setColour(_mibtc, colour); }); }
void XmlWebMenu::setMiblc(const lq::Colour& colour) { lq::modelFrame(this, "setMiblc:", [&] { setColour(_miblc, colour); }); }
void XmlWebMenu::setMibbc(const lq::Colour& colour) { lq::modelFrame(this, "setMibbc:", [&] { setColour(_mibbc, colour); }); }
void XmlWebMenu::setMibrc(const lq::Colour& colour) { lq::modelFrame(this, "setMibrc:", [&] { setColour(_mibrc, colour); }); }

void XmlWebMenu::setMiWidth(int width) { lq::modelFrame(this, "setMiWidth:", [&] { setInt(_miWidth, width); }); }
void XmlWebMenu::setIndentSubmenu(int indent) { lq::modelFrame(this, "setIndentSubmenu:", [&] { setInt(_indentSubmenu, indent); }); }
void XmlWebMenu::setSubFontSize(int size) { lq::modelFrame(this, "setSubFontSize:", [&] { setInt(_subFontSize, size); }); }
void XmlWebMenu::setNavTypeForGroup(int type) { lq::modelFrame(this, "setNavTypeForGroup:", [&] { setInt(_navTypeForGroup, type); }); }

int XmlWebMenu::orientation() const
{
    return _useGraphicRollover && _orientation == 1 ? 2 : _orientation;
}

void XmlWebMenu::setOrientation(int orientation)
{
    lq::modelFrame(this, "setOrientation:", [&] {
        // Rollover pictures have one width: a horizontal row of them is a row of equal items.
        setInt(_orientation, orientation == 1 && _useGraphicRollover ? 2 : orientation);
    });
}

int XmlWebMenu::navPlacement() const
{
    const XmlStyleSheet* sheet = XmlStyleSheet::cast(_parent);
    return sheet && !sheet->hasNav() ? 99 : _navPlacement;
}

void XmlWebMenu::setNavPlacement(int)
{
}

// --- Items -------------------------------------------------------------------------------------

std::optional<QList<MenuItem>> XmlWebMenu::getMenuItems(XmlBase* page)
{
    return lq::modelFrame(this, "getMenuItems:", [&]() -> std::optional<QList<MenuItem>> {
        XmlBase* owner = nullptr;
        if (_navTypeForGroup == 1) {
            owner = page ? page->parent() : nullptr;
        } else {
            DocumentBase* document = myDocument();
            XmlSite* site = document ? document->site() : nullptr;
            owner = site ? site->homepage() : nullptr;
        }
        // Only a page tree under a site has a list.
        if (!owner || !XmlSite::cast(owner->root()))
            return std::nullopt;
        return owner->menuItems();
    });
}

std::optional<QList<MenuItem>> XmlWebMenu::getSubMenuItems(XmlBase* page)
{
    return lq::modelFrame(this, "getSubMenuItems:", [&]() -> std::optional<QList<MenuItem>> {
        if (_navTypeForGroup != 2 || !page)
            return std::nullopt;
        XmlBase* group = nullptr;
        if (XmlGroup::cast(page))
            group = page;
        if (XmlGroup::cast(page->parent()))
            group = page->parent();
        if (!group || !XmlSite::cast(group->root()))
            return std::nullopt;
        QList<MenuItem> items = group->menuItems();
        if (items.size() <= 1)
            return std::nullopt;
        // The group's own record leads its list: the submenu holds only its pages.
        items.removeFirst();
        return items;
    });
}

int XmlWebMenu::getCurrentPageNum(XmlBase* page)
{
    return lq::modelFrame(this, "getCurrentPageNum:", [&] {
        if (!page)
            return 0;
        XmlBase* shown = page;
        if (_navTypeForGroup == 0 && XmlGroup::cast(page->parent()))
            shown = page->parent();
        XmlAlbum* album = XmlAlbum::cast(shown);
        return album ? album->pageSeqNumber() : 0;
    });
}

int XmlWebMenu::getCurrentGroupNum(XmlBase* page)
{
    return lq::modelFrame(this, "getCurrentGroupNum:", [&] {
        if (_navTypeForGroup != 2 || !page)
            return -1;
        int target = -1;
        if (XmlHomePage::cast(page->parent())) {
            if (XmlAlbum* album = XmlAlbum::cast(page))
                target = album->pageSeqNumber();
        } else if (XmlGroup* group = XmlGroup::cast(page->parent())) {
            target = group->pageSeqNumber();
        }
        const std::optional<QList<MenuItem>> items = getMenuItems(page);
        if (!items)
            return -1;
        for (qsizetype i = 0; i < items->size(); ++i) {
            if (items->at(i).seq == target)
                return static_cast<int>(i);
        }
        return -1;
    });
}

void XmlWebMenu::fillContentsWithStringTypeSubmenu(ItemText& item, const QString& name, int type, bool submenu)
{
    lq::modelFrame(this, "fillContents:withString:type:submenu:", [&] {
        const std::shared_ptr<XmlWebFont> record = font();
        lq::ParagraphStyle paragraph = lq::ParagraphStyle::defaultStyle();
        paragraph.tabStops = lqTabStops();
        switch (orientation()) {
        case 0:
            paragraph.alignment = record->textAlignment();
            break;
        case 2:
            paragraph.alignment = lq::TextAlignment::Center;
            break;
        default:
            paragraph.alignment = lq::TextAlignment::Left;
            break;
        }

        lq::TextAttributes attributes;
        attributes.paragraphStyle = paragraph;
        attributes.font = record->createFont();
        if (submenu && attributes.font)
            attributes.font = attributes.font->withPixelSize(_subFontSize);
        const struct {
            const lq::Colour& colour;
            int underline;
        } states[] = {
            { _currentText, _currentUnderline },
            { _normalText, _normalUnderline },
            { _hoverText, _hoverUnderline },
            { _clickText, _clickUnderline },
        };
        if (type >= 0 && type <= 3) {
            attributes.foregroundColour = states[type].colour;
            attributes.underlineStyle = states[type].underline;
            attributes.setValue(lq::TextKey::menuType, type);
        }

        // Every page lays the menu out again, and most items come out as they
        // were: an unchanged text keeps its lines instead of being shaped anew.
        lq::StyledText& text = *item.textStorage();
        lq::StyledText next = text;
        next.setText(lq::StyledText(name, attributes));
        next.setAttributes(attributes, { 0, next.length() });
        if (!(next == text))
            text = std::move(next);

        const int textWidth = orientation() == 2 ? _miWidth : menuItemInternalWidth();
        item.textContainer()->setContainerSize(QSizeF(textWidth, unboundedExtent));
        item.layoutManager().glyphRangeForTextContainer(item.textContainer().get());
    });
}

// --- Layout ------------------------------------------------------------------------------------

XmlWebMenu::ItemTextPtr XmlWebMenu::makeContents()
{
    return lq::modelFrame(this, "makeContents", [] { return std::make_shared<ItemText>(); });
}

void XmlWebMenu::relayoutFlags(XmlBase* page, int flags)
{
    // The layout runs while the canvas draws: a failure here is logged with
    // the menu's XML and goes no further. Only the application's own
    // failures are caught; anything else thrown goes on to the caller.
    try {
        if (flags != 0)
            return;
        layoutItems(page);
    } catch (const lq::Exception& failure) {
        lq::log(QStringLiteral("webmenu relayout error: %1: %2").arg(failure.name(), failure.reason()));
        lq::log(createXml());
    }
}

void XmlWebMenu::layoutItems(XmlBase* page)
{
    std::shared_ptr<XmlAlbum> remembered;
    if (!page) {
        remembered = getCurrentAlbum();
        page = remembered.get();
        if (!page)
            return;
    }
    setCurrentAlbum(page);

    const std::optional<QList<MenuItem>> items = getMenuItems(page);
    const std::optional<QList<MenuItem>> subItems = getSubMenuItems(page);
    currentSeq = getCurrentPageNum(page);
    if (!items)
        return;

    const auto fit = [this](std::vector<ItemTextPtr>& texts, qsizetype count) {
        // Texts that stay are used again; only the end of the list changes.
        while (static_cast<qsizetype>(texts.size()) < count)
            texts.push_back(makeContents());
        while (static_cast<qsizetype>(texts.size()) > count)
            texts.pop_back();
    };
    fit(_contentsArray, items->size());
    fit(_subContentsArray, subItems ? subItems->size() : 0);

    relayoutTextAttributes();

    DocumentBase* document = myDocument();
    if (!document)
        return;
    document->clearTrackingDataForObject(UUID());
    Walk walk;
    walk.horizontalSubRow = _navTypeForGroup == 2;
    walkItems(page, walk, [&](const ItemFrame& item) {
        document->addTrackingDataForObjectDataRect(UUID(), QString::number(item.number), item.rect);
        return false;
    });
}

void XmlWebMenu::relayoutTextAttributes()
{
    lq::modelFrame(this, "relayoutTextAttributes", [&] {
        const std::shared_ptr<XmlAlbum> page = getCurrentAlbum();
        if (!page)
            return;
        const std::optional<QList<MenuItem>> items = getMenuItems(page.get());
        const std::optional<QList<MenuItem>> subItems = getSubMenuItems(page.get());
        currentSeq = getCurrentPageNum(page.get());
        if (!items)
            return;
        const auto restyle = [&](const std::vector<ItemTextPtr>& texts, const QList<MenuItem>& list, int first,
                                 bool submenu) {
            const std::size_t count = std::min(texts.size(), static_cast<std::size_t>(list.size()));
            for (std::size_t i = 0; i < count; ++i) {
                const MenuItem& item = list.at(static_cast<qsizetype>(i));
                const int number = first + static_cast<int>(i);
                // The current page wins over hover, hover over click.
                int state = 1;
                if (item.seq == currentSeq)
                    state = 0;
                else if (number == _hoverItem)
                    state = 2;
                else if (number == _clickItem)
                    state = 3;
                fillContentsWithStringTypeSubmenu(*texts[i], item.name, state, submenu);
            }
        };
        restyle(_contentsArray, *items, 0, false);
        if (subItems)
            restyle(_subContentsArray, *subItems, firstSubmenuItem, true);
    });
}

void XmlWebMenu::walkItems(XmlBase* page, const Walk& walk, const std::function<bool(const ItemFrame&)>& visit)
{
    const bool across = horizontal();
    const int itemHeights = _mibt + _mibb + _mipt + _mipb;
    const int iw = internalWidth();
    const int spacing = walk.withSpacing ? _mispace : 0;
    float y = toFloat(_top + _bt + _pt);
    float x = toFloat(_left + _bl + _pl);
    if (across)
        x += toFloat(leadingHorzSpace());
    const int group = page ? getCurrentGroupNum(page) : -1;

    int lastHeight = walk.emptyRowHeight;
    for (std::size_t i = 0; i < _contentsArray.size(); ++i) {
        ItemText& text = *_contentsArray[i];
        const int height = text.usedHeight() + itemHeights;
        const int width = across ? itemWidth(text) : iw;
        lastHeight = height;
        ItemFrame item;
        item.number = static_cast<int>(i);
        item.text = &text;
        item.rect = across ? lq::Rect(x, y, toFloat(width + spacing), toFloat(height))
                           : lq::Rect(x, y, toFloat(width), toFloat(height + spacing));
        if (visit(item))
            return;
        if (across)
            x += toFloat(_mispace + width);
        else
            y += toFloat(_mispace + height);

        if (!across && static_cast<int>(i) == group) {
            for (std::size_t j = 0; j < _subContentsArray.size(); ++j) {
                ItemText& subText = *_subContentsArray[j];
                const int subHeight = subText.usedHeight() + itemHeights;
                ItemFrame subItem;
                subItem.number = firstSubmenuItem + static_cast<int>(j);
                subItem.text = &subText;
                subItem.rect = lq::Rect(x, y, toFloat(iw), toFloat(subHeight + spacing));
                subItem.verticalSubmenu = true;
                if (visit(subItem))
                    return;
                y += toFloat(_mispace + subHeight);
            }
            if (!_subContentsArray.empty())
                y += toFloat(_mispace / 2);
        }
    }

    if (!across || !walk.horizontalSubRow)
        return;
    const float sy = y + toFloat(lastHeight);
    float sx = toFloat(_left + _bl + _pl + leadingSubHorzSpace());
    for (std::size_t j = 0; j < _subContentsArray.size(); ++j) {
        ItemText& subText = *_subContentsArray[j];
        const int subHeight = subText.usedHeight() + itemHeights;
        const int subWidth = itemWidth(subText);
        ItemFrame subItem;
        subItem.number = firstSubmenuItem + static_cast<int>(j);
        subItem.text = &subText;
        subItem.rect = lq::Rect(sx, sy, toFloat(subWidth + spacing), toFloat(subHeight));
        if (visit(subItem))
            return;
        sx += toFloat(_mispace + subWidth);
    }
}

int XmlWebMenu::itemWidth(const ItemText& item) const
{
    const int borders = _mibl + _mibr + _mipl + _mipr;
    switch (orientation()) {
    case 0:
        return internalWidth();
    case 2:
        return _miWidth + borders;
    default:
        return item.usedWidth() + borders;
    }
}

int XmlWebMenu::rowWidth(const std::vector<ItemTextPtr>& row) const
{
    if (!horizontal())
        return 0;
    int sum = 0;
    for (const ItemTextPtr& text : row)
        sum += itemWidth(*text) + _mispace;
    return sum - _mispace;
}

int XmlWebMenu::horzMenuWidth() const
{
    return lq::modelFrame(this, "horzMenuWidth", [&] { return rowWidth(_contentsArray); });
}

int XmlWebMenu::horzSubMenuWidth() const
{
    return lq::modelFrame(this, "horzSubMenuWidth", [&] { return rowWidth(_subContentsArray); });
}

int XmlWebMenu::calcHeight() const
{
    return lq::modelFrame(this, "calcHeight", [&] {
        const int itemHeights = _mibt + _mibb + _mipt + _mipb;
        int h = _bt + _bb + _pt + _pb + (dropShadow() ? shadowStrip : 0);
        if (!horizontal()) {
            const auto addColumn = [&](const std::vector<ItemTextPtr>& texts) {
                const int n = static_cast<int>(texts.size());
                if (n > 1)
                    h += (n - 1) * _mispace;
                h += n * itemHeights;
                for (const ItemTextPtr& text : texts)
                    h += text->usedHeight();
            };
            addColumn(_contentsArray);
            if (!_subContentsArray.empty())
                addColumn(_subContentsArray);
        } else {
            h += itemHeights;
            if (!_contentsArray.empty())
                h += _contentsArray.front()->usedHeight();
            if (!_subContentsArray.empty())
                h += _subContentsArray.front()->usedHeight() + itemHeights;
        }
        return h;
    });
}

int XmlWebMenu::width() const
{
    return lq::modelFrame(this, "width", [&] {
        if (!horizontal())
            return _width;
        return std::max(_width, internalWidth() + _bl + _br + _pl + _pr + (dropShadow() ? shadowStrip : 0));
    });
}

int XmlWebMenu::calcWidth() const
{
    return width();
}

int XmlWebMenu::internalWidth() const
{
    return lq::modelFrame(this, "internalWidth", [&] {
        const int iw = _width - (_pl + _pr + _bl + _br) - (dropShadow() ? shadowStrip : 0);
        if (!horizontal())
            return iw;
        return std::max({ horzMenuWidth(), horzSubMenuWidth(), iw });
    });
}

int XmlWebMenu::leadingSpace(int rowWidth)
{
    // The font's alignment places the rows: 0 left, 1 centre, other right.
    const XmlWebFont::Alignment alignment = font()->alignment();
    if (alignment == XmlWebFont::Alignment::Left)
        return 0;
    const int spare = internalWidth() - rowWidth;
    return alignment == XmlWebFont::Alignment::Center ? spare / 2 : spare;
}

int XmlWebMenu::leadingHorzSpace()
{
    return lq::modelFrame(this, "leadingHorzSpace", [&] { return horizontal() ? leadingSpace(horzMenuWidth()) : 0; });
}

int XmlWebMenu::leadingSubHorzSpace()
{
    return lq::modelFrame(this, "leadingSubHorzSpace", [&] { return horizontal() ? leadingSpace(horzSubMenuWidth()) : 0; });
}

int XmlWebMenu::menuItemInternalWidth()
{
    return lq::modelFrame(this, "menuItemInternalWidth", [&] {
        return internalWidth() - _mipl - _mipr - _mibl - _mibr;
    });
}

XmlCSSBackground* XmlWebMenu::stateBackground(int state) const
{
    switch (state) {
    case 0:
        return _currentBkgnd.get();
    case 1:
        return _normalBkgnd.get();
    case 2:
        return _hoverBkgnd.get();
    case 3:
        return _clickBkgnd.get();
    default:
        return nullptr;
    }
}

void XmlWebMenu::drawMenuItemBackgroundRect(ItemText& item, const lq::Rect& rect)
{
    lq::modelFrame(this, "drawMenuItemBackground:rect:", [&] {
        int state = 1;
        const lq::StyledText& text = *item.textStorage();
        if (!text.isEmpty()) {
            const lq::TextAttributes attributes = text.attributesAt(0);
            if (!attributes.isEmpty())
                state = attributes.value(lq::TextKey::menuType).toInt();
        }
        const lq::Rect inner(rect.x() + toFloat(_mibl), rect.y() + toFloat(_mibt),
                             rect.width() - toFloat(_mibl + _mibr), rect.height() - toFloat(_mibt + _mibb));
        if (XmlCSSBackground* background = stateBackground(state))
            background->drawObject(inner);
        drawBorderBtypeTopLeftBottomRightTColorLColorBColorRColor(rect, static_cast<BorderType>(_mibtype), _mibt, _mibl, _mibb, _mibr,
                                                                  _mibtc, _miblc, _mibbc, _mibrc);
    });
}

// --- Pointer on the canvas -----------------------------------------------------------------------

void XmlWebMenu::restyleAndRedisplay()
{
    relayoutTextAttributes();
    if (DocumentBase* document = myDocument())
        document->redisplayRect(objectRect());
}

void XmlWebMenu::mouseEntered(const QString& data)
{
    lq::modelFrame(this, "mouseEntered:", [&] {
        _hoverItem = lq::intValue(data);
        restyleAndRedisplay();
    });
}

void XmlWebMenu::mouseExited(const QString& data)
{
    lq::modelFrame(this, "mouseExited:", [&] {
        const int item = lq::intValue(data);
        if (_hoverItem == item)
            _hoverItem = -1;
        if (_clickItem == item)
            _clickItem = -1;
        restyleAndRedisplay();
    });
}

void XmlWebMenu::mouseDown(const QString& data)
{
    lq::modelFrame(this, "mouseDown:", [&] {
        const int item = lq::intValue(data);
        if (_hoverItem == item)
            _hoverItem = -1;
        _clickItem = item;
        restyleAndRedisplay();
    });
}

void XmlWebMenu::mouseClick(const QString& data)
{
    lq::modelFrame(this, "mouseClick:", [&] {
        const std::shared_ptr<XmlAlbum> page = getCurrentAlbum();
        if (!page)
            return;
        const std::optional<QList<MenuItem>> items = getMenuItems(page.get());
        if (!items)
            return;
        const int number = lq::intValue(data);
        DocumentBase* document = myDocument();
        const auto show = [&](const MenuItem& item) {
            XmlAlbum* album = XmlAlbum::cast(item.page.get());
            if (!album)
                return false;
            _hoverItem = -1;
            _clickItem = -1;
            if (document)
                document->selectWebPageIndex(album, -1);
            return true;
        };
        if (static_cast<unsigned>(number) < static_cast<unsigned>(items->size()) && show(items->at(number)))
            return;
        if (number >= firstSubmenuItem) {
            const std::optional<QList<MenuItem>> subItems = getSubMenuItems(page.get());
            const int j = number - firstSubmenuItem;
            if (subItems && j < subItems->size())
                show(subItems->at(j));
        }
    });
}

// --- Drawing, page selection and in-place editing ------------------------------------------------

void XmlWebMenu::drawObject()
{
    lq::modelFrame(this, "drawObject", [&] {
        XmlBoxModel::drawObject(lq::Rect(toFloat(_left), toFloat(_top), toFloat(width()), toFloat(calcHeight())));
    });
}

void XmlWebMenu::drawText()
{
    lq::modelFrame(this, "drawText", [&] {
        lq::GraphicsContext* context = lq::GraphicsContext::current();
        if (!context)
            return;
        const std::shared_ptr<XmlAlbum> page = getCurrentAlbum();
        Walk walk;
        walk.horizontalSubRow = _navTypeForGroup == 2;
        walk.emptyRowHeight = calcHeight();
        walkItems(page.get(), walk, [&](const ItemFrame& item) {
            drawMenuItemBackgroundRect(*item.text, item.rect);
            lq::LayoutManager& lm = item.text->layoutManager();
            const lq::Range glyphs = lm.glyphRangeForTextContainer(item.text->textContainer().get());
            if (glyphs.length > 0) {
                const float indent = item.verticalSubmenu ? toFloat(_indentSubmenu) : 0;
                const QPointF origin(item.rect.x() + toFloat(_mipl + _mibl) + indent, item.rect.y() + toFloat(_mipt + _mibt));
                lm.drawGlyphsForGlyphRange(glyphs, origin, &context->painter());
            }
            return false;
        });
    });
}

void XmlWebMenu::selectPageAtPoint(const lq::Point& point)
{
    lq::modelFrame(this, "selectPageAtPoint:", [&] {
        const std::shared_ptr<XmlAlbum> page = getCurrentAlbum();
        if (!page)
            return;
        Walk walk;
        walk.withSpacing = true;
        walk.emptyRowHeight = calcHeight();
        walkItems(page.get(), walk, [&](const ItemFrame& item) {
            if (!item.rect.contains(point))
                return false;
            const bool submenu = item.number >= firstSubmenuItem;
            const std::optional<QList<MenuItem>> list = submenu ? getSubMenuItems(page.get()) : getMenuItems(page.get());
            const int position = submenu ? item.number - firstSubmenuItem : item.number;
            if (list && position < list->size()) {
                XmlAlbum* album = XmlAlbum::cast(list->at(position).page.get());
                DocumentBase* document = myDocument();
                if (album && document)
                    document->selectWebPageIndex(album, -1);
            }
            return true;
        });
    });
}

bool XmlWebMenu::canDoubleClick()
{
    return false;
}

bool XmlWebMenu::startEditingAtPointTextView(const lq::Point& point, lq::TextView*)
{
    return lq::modelFrame(this, "startEditingAtPoint:textView:", [&] {
        if (isEditing())
            endEditingInView();
        const std::shared_ptr<XmlAlbum> page = getCurrentAlbum();
        if (!page)
            return false;
        const bool across = horizontal();
        bool hit = false;
        Walk walk;
        walk.withSpacing = true;
        walk.emptyRowHeight = calcHeight();
        walkItems(page.get(), walk, [&](const ItemFrame& item) {
            if (!item.rect.contains(point))
                return false;
            // The text area of the item: inside its borders and padding, less the spacing the hit took in.
            float frameWidth = item.rect.width() - toFloat(_mibl + _mipl + _mipr + _mibr);
            float frameHeight = item.rect.height() - toFloat(_mibt + _mipt + _mipb + _mibb);
            if (across)
                frameWidth -= toFloat(_mispace);
            else
                frameHeight -= toFloat(_mispace);
            _editFrame = lq::Rect(item.rect.x() + toFloat(_mibl + _mipl), item.rect.y() + toFloat(_mibt + _mipt),
                                  frameWidth, frameHeight);
            // The name is edited in black whatever its state's colour.
            lq::StyledText& text = *item.text->textStorage();
            lq::TextAttributes black;
            black.foregroundColour = lq::Colour::black();
            text.addAttributes(black, { 0, text.length() });
            _editMenuItem = item.number;
            _isEditing = true;
            hit = true;
            return true;
        });
        return hit;
    });
}

bool XmlWebMenu::isEditing()
{
    return _isEditing;
}

std::shared_ptr<lq::TextContainer> XmlWebMenu::editingTextContainer()
{
    if (!_isEditing)
        return nullptr;
    const bool submenu = _editMenuItem >= firstSubmenuItem;
    const std::vector<ItemTextPtr>& texts = submenu ? _subContentsArray : _contentsArray;
    const int position = submenu ? _editMenuItem - firstSubmenuItem : _editMenuItem;
    if (position < 0 || static_cast<std::size_t>(position) >= texts.size())
        return nullptr;
    return texts[static_cast<std::size_t>(position)]->textContainer();
}

void XmlWebMenu::endEditingInView()
{
    lq::modelFrame(this, "endEditingInView", [&] {
        if (_isEditing) {
            _isEditing = false;
            const bool submenu = _editMenuItem >= firstSubmenuItem;
            if (submenu)
                _editMenuItem -= firstSubmenuItem;
            const std::vector<ItemTextPtr>& texts = submenu ? _subContentsArray : _contentsArray;
            if (_editMenuItem >= 0 && static_cast<std::size_t>(_editMenuItem) < texts.size()) {
                const QString edited = texts[static_cast<std::size_t>(_editMenuItem)]->textStorage()->string();
                if (const std::shared_ptr<XmlAlbum> page = getCurrentAlbum()) {
                    const std::optional<QList<MenuItem>> list =
                        submenu ? getSubMenuItems(page.get()) : getMenuItems(page.get());
                    if (list && _editMenuItem < list->size()) {
                        if (XmlBase* editedPage = list->at(_editMenuItem).page.get())
                            editedPage->setName(edited);
                    }
                }
            }
        }
        if (DocumentBase* document = myDocument())
            document->layoutDidContentEditing();
    });
}

// --- Template CSS ----------------------------------------------------------------------------------

void XmlWebMenu::appendCSSMenuItemBorders(QString& css)
{
    lq::modelFrame(this, "appendCSSMenuItemBorders:", [&] {
        const QString style = borderType(static_cast<BorderType>(_mibtype));
        const auto side = [&](const char* which, const lq::Colour& colour, int width) {
            css += QStringLiteral("border-") + QLatin1String(which) + QStringLiteral(": ") + colorToCSSString(colour)
                + QLatin1Char(' ') + style + QString::asprintf(" %dpx; ", width);
        };
        side("top", _mibtc, _mibt);
        side("left", _miblc, _mibl);
        side("bottom", _mibbc, _mibb);
        side("right", _mibrc, _mibr);
    });
}

void XmlWebMenu::appendCSSFontParametersForFontWithSize(QString& css, XmlWebFont& record, int size)
{
    lq::modelFrame(this, "appendCSSFontParameters:forFont:withSize:", [&] {
        css += QStringLiteral("font-family: ") + record.cssFontFamily() + QLatin1Char(' ');
        int lineHeight = record.lineHeight();
        if (size != 0) {
            const std::optional<lq::Font> face = record.createFont();
            lineHeight = face ? lq::truncatedPixel(face->withPixelSize(size).defaultLineHeight()) : 0;
        }
        css += QString::asprintf("font-size: %dpx; ", size != 0 ? size : record.fontSize());
        css += QString::asprintf("line-height: %dpx; ", lineHeight);
        css += record.italic() ? QStringLiteral("font-style: italic; ") : QStringLiteral("font-style: normal; ");
        css += record.bold() ? QStringLiteral("font-weight: bold; ") : QStringLiteral("font-weight: normal; ");
        switch (orientation()) {
        case 0:
            record.appendCSSBoxFont(css);
            break;
        case 2:
            css += QStringLiteral("text-align: center; ");
            break;
        default:
            break;
        }
    });
}

void XmlWebMenu::appendCSS(QString& css)
{
    lq::modelFrame(this, "appendCSS:", [&] {
        css += QStringLiteral("#navigation {");
        css += QStringLiteral("display: block; position: absolute; white-space: nowrap; ");
        appendCSSBorders(css);
        appendCSSBackground(css);
        css += QStringLiteral("}\n");

        const std::shared_ptr<XmlWebFont> record = font();
        const bool across = orientation() == 1 || orientation() == 2;
        struct Rule {
            const char* selector;
            bool itemHead;        // else the head of a hover or click rule, without font
            XmlCSSBackground* background;
            const lq::Colour& text;
            int underline;
            bool submenu;
        };
        const Rule rules[] = {
            { "a.current {", true, _currentBkgnd.get(), _currentText, _currentUnderline, false },
            { "a.nav {", true, _normalBkgnd.get(), _normalText, _normalUnderline, false },
            { "a.nav:hover {", false, _hoverBkgnd.get(), _hoverText, _hoverUnderline, false },
            { "a.nav:active {", false, _clickBkgnd.get(), _clickText, _clickUnderline, false },
            { "a.subcurrent {", true, _currentBkgnd.get(), _currentText, _currentUnderline, true },
            { "a.subnav {", true, _normalBkgnd.get(), _normalText, _normalUnderline, true },
            { "a.subnav:hover {", false, _hoverBkgnd.get(), _hoverText, _hoverUnderline, true },
            { "a.subnav:active {", false, _clickBkgnd.get(), _clickText, _clickUnderline, true },
        };
        for (const Rule& rule : rules) {
            css += QLatin1String(rule.selector);
            css += QStringLiteral("display: block; position: absolute; ");
            if (rule.itemHead) {
                css += QStringLiteral("overflow: visible; ");
                if (across)
                    css += QStringLiteral("white-space: nowrap; ");
            }
            rule.background->appendCSSBackground(css);
            css += QStringLiteral("color: ") + colorToCSSString(rule.text) + QStringLiteral("; ");
            css += rule.underline != 0 ? QStringLiteral("text-decoration: underline; ")
                                       : QStringLiteral("text-decoration: none; ");
            // The submenu's indent is padding inside the item, so its boxes
            // keep the width of the top-level ones.
            css += QString::asprintf("padding: %dpx %dpx %dpx %dpx; ", _mipt, _mipr, _mipb,
                                     _mipl + (rule.submenu ? _indentSubmenu : 0));
            appendCSSMenuItemBorders(css);
            css += QStringLiteral("margin: 0px; ");
            if (rule.itemHead)
                appendCSSFontParametersForFontWithSize(css, *record, rule.submenu ? _subFontSize : 0);
            css += QStringLiteral("}\n");
        }
    });
}

void XmlWebMenu::appendCSSWinIESuffix(QString& css, const QString& suffix)
{
    appendCSSWinIEBackgroundTagSuffix(css, QStringLiteral("#navigation"), suffix);
    _currentBkgnd->appendCSSWinIEBackgroundTagSuffix(css, QStringLiteral("a.current"), suffix);
    _normalBkgnd->appendCSSWinIEBackgroundTagSuffix(css, QStringLiteral("a.nav"), suffix);
    _hoverBkgnd->appendCSSWinIEBackgroundTagSuffix(css, QStringLiteral("a.nav:hover"), suffix);
    _clickBkgnd->appendCSSWinIEBackgroundTagSuffix(css, QStringLiteral("a.nav:active"), suffix);
    _currentBkgnd->appendCSSWinIEBackgroundTagSuffix(css, QStringLiteral("a.subcurrent"), suffix);
    _normalBkgnd->appendCSSWinIEBackgroundTagSuffix(css, QStringLiteral("a.subnav"), suffix);
    _hoverBkgnd->appendCSSWinIEBackgroundTagSuffix(css, QStringLiteral("a.subnav:hover"), suffix);
    _clickBkgnd->appendCSSWinIEBackgroundTagSuffix(css, QStringLiteral("a.subnav:active"), suffix);
}

void XmlWebMenu::genCSSWinIEBitmap(QString& script)
{
    _currentBkgnd->genCSSWinIEBitmap(script);
    _normalBkgnd->genCSSWinIEBitmap(script);
    _hoverBkgnd->genCSSWinIEBitmap(script);
    _clickBkgnd->genCSSWinIEBitmap(script);
    XmlBoxModel::genCSSWinIEBitmap(script);
}

// --- Page HTML -------------------------------------------------------------------------------------

void XmlWebMenu::appendHTMLPagePassSheet(QString& html, XmlBase* page, int pass, XmlStyleSheet*)
{
    lq::modelFrame(this, "appendHTML:page:pass:sheet:", [&] {
        const int shadow = dropShadow() ? shadowStrip : 0;
        if (pass == -1) {
            const std::shared_ptr<XmlWebFont> record = font();
            const std::optional<lq::Font> face = record->createFont();
            const int v = _mipt + _mipb + _mibt + _mibb;
            const int lineHeight = record->lineHeight();
            const int subLineHeight = face ? lq::truncatedPixel(face->withPixelSize(_subFontSize).defaultLineHeight()) : 0;
            html += QString::asprintf("fc.addfs(\"ac\", %d, %d, \"a.current\");\n", lineHeight + v, record->fontSize());
            html += QString::asprintf("fc.addfs(\"an\", %d, %d, \"a.nav\");\n", lineHeight + v, record->fontSize());
            html += QString::asprintf("fc.addfs(\"asc\", %d, %d, \"a.subcurrent\");\n", subLineHeight + v, _subFontSize);
            html += QString::asprintf("fc.addfs(\"asn\", %d, %d, \"a.subnav\");\n", subLineHeight + v, _subFontSize);
        } else if (pass == 8) {
            const int boxWidth = width() - _bl - _br - shadow;
            const int boxHeight = calcHeight() - _bt - _bb - shadow;
            html += htmlDivTagsForRect(QStringLiteral("navigation"),
                                       lq::Rect(toFloat(_left), toFloat(_top), toFloat(boxWidth), toFloat(boxHeight)));
        } else if (pass == 14) {
            const std::optional<QList<MenuItem>> items = getMenuItems(page);
            if (!items)
                return;
            const std::optional<QList<MenuItem>> subItems = getSubMenuItems(page);
            const int current = getCurrentPageNum(page);
            html += QLatin1String(measuringAnchors);

            const int itemBorders = _mipl + _mipr + _mibl + _mibr;
            const int itemHeights = _mipt + _mipb + _mibt + _mibb;
            Walk walk;
            walk.emptyRowHeight = calcHeight() - _bt - _bb - shadow;
            walkItems(page, walk, [&](const ItemFrame& item) {
                const bool submenu = item.number >= firstSubmenuItem;
                const QList<MenuItem>* list = submenu ? (subItems ? &*subItems : nullptr) : &*items;
                const int position = submenu ? item.number - firstSubmenuItem : item.number;
                if (!list || position >= list->size())
                    return false;
                const MenuItem& record = list->at(position);
                const int w = lq::truncatedPixel(item.rect.width()) - itemBorders - (item.verticalSubmenu ? _indentSubmenu : 0);
                const int h = lq::truncatedPixel(item.rect.height()) - itemHeights;
                QString itemClass;
                if (submenu)
                    itemClass = record.seq == current ? QStringLiteral("subcurrent") : QStringLiteral("subnav");
                else
                    itemClass = record.seq == current ? QStringLiteral("current") : QStringLiteral("nav");
                // Page names and links are the user's text: escaped, they
                // cannot break the page or add markup to it (the link as every
                // link target is, the name as page text).
                html += QStringLiteral("<a class=\"") + itemClass + QStringLiteral("\" href=\"") + XmlWebText::attributeEscape(record.href)
                    + QStringLiteral("\" ")
                    + QString::asprintf("style=\"top: %dpx; left: %dpx; width: %dpx; height: %dpx;\">",
                                        lq::truncatedPixel(item.rect.y()), lq::truncatedPixel(item.rect.x()), w, h)
                    + escape(record.name) + QStringLiteral("</a>\n");
                return false;
            });
        }
    });
}

// --- Housekeeping ------------------------------------------------------------------------------------

void XmlWebMenu::forEachBackground(const std::function<void(XmlCSSBackground&)>& visit)
{
    visit(*_normalBkgnd);
    visit(*_hoverBkgnd);
    visit(*_currentBkgnd);
    visit(*_clickBkgnd);
}

void XmlWebMenu::cleanup()
{
    lq::modelFrame(this, "cleanup", [&] {
        _contentsArray.clear();
        _subContentsArray.clear();
        XmlBoxModel::cleanup();
    });
}

void XmlWebMenu::loadBackstore(void* context)
{
    lq::modelFrame(this, "loadBackstore:", [&] {
        forEachBackground([&](XmlCSSBackground& background) { background.loadBackstore(context); });
        XmlBoxModel::loadBackstore(context);
    });
}

void XmlWebMenu::releaseBackstore(void* context)
{
    lq::modelFrame(this, "releaseBackstore:", [&] {
        forEachBackground([&](XmlCSSBackground& background) { background.releaseBackstore(context); });
        XmlBoxModel::releaseBackstore(context);
    });
}

void XmlWebMenu::listOfBitmaps(QStringList& names)
{
    lq::modelFrame(this, "listOfBitmaps:", [&] {
        forEachBackground([&](XmlCSSBackground& background) { background.listOfBitmaps(names); });
        XmlBoxModel::listOfBitmaps(names);
    });
}

void XmlWebMenu::listOfFilesToCopyAll(QStringList& files, bool all)
{
    lq::modelFrame(this, "listOfFilesToCopy:all:", [&] {
        forEachBackground([&](XmlCSSBackground& background) { background.listOfFilesToCopyAll(files, all); });
        XmlBoxModel::listOfFilesToCopyAll(files, all);
    });
}

void XmlWebMenu::unpackToDirectory(const QString& folder)
{
    lq::modelFrame(this, "unpackToDirectory:", [&] {
        forEachBackground([&](XmlCSSBackground& background) { background.unpackToDirectory(folder); });
        XmlBoxModel::unpackToDirectory(folder);
    });
}

void XmlWebMenu::convert1_2Bitmaps()
{
    lq::modelFrame(this, "convert1_2Bitmaps", [&] {
        forEachBackground([](XmlCSSBackground& background) { background.convert1_2Bitmaps(); });
        XmlBoxModel::convert1_2Bitmaps();
    });
}

void XmlWebMenu::changeImageUUID(const QHash<QString, QString>& uuids)
{
    lq::modelFrame(this, "changeImageUUID:", [&] {
        forEachBackground([&](XmlCSSBackground& background) { background.changeImageUUID(uuids); });
        XmlBoxModel::changeImageUUID(uuids);
    });
}

void XmlWebMenu::genCSSBitmap(QString& script)
{
    lq::modelFrame(this, "genCSSBitmap:", [&] {
        XmlBoxModel::genCSSBitmap(script);
        forEachBackground([&](XmlCSSBackground& background) { background.genCSSBitmap(script); });
    });
}
