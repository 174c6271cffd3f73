// The navigation menu's stored form and settings: attributes, the state
// backgrounds it owns, and the housekeeping passed on to them.
#include "elements/XmlWebMenu.h"

#include "platform/ExceptionFrame.h"
#include "platform/Strings.h"
#include "platform/ValueStrings.h"
#include "platform/text/LayoutManager.h"
#include "platform/text/StyledText.h"
#include "platform/text/TextContainer.h"
#include "templates/XmlStyleSheet.h"

using namespace lq::literals;

// --- Item texts ------------------------------------------------------------------------------

XmlWebMenu::ItemText::ItemText()
    : _storage(std::make_shared<lq::StyledText>())
    , _tc(std::make_shared<lq::TextContainer>(QSizeF(unboundedExtent, unboundedExtent)))
{
    _tc->setLineFragmentPadding(0);
    manager();
}

lq::LayoutManager& XmlWebMenu::ItemText::manager() const
{
    if (!_lm) {
        _lm = std::make_unique<lq::LayoutManager>();
        _lm->setTextStorage(_storage);
        _lm->addTextContainer(_tc);
    }
    return *_lm;
}

XmlWebMenu::ItemText::~ItemText()
{
    // The manager first: it lets its container go before the container is dropped.
    _lm.reset();
}

void XmlWebMenu::ItemText::measure() const
{
    const QRectF used = manager().usedRectForTextContainer(_tc.get());
    _measured.size = { lq::truncatedPixel(used.width()), lq::truncatedPixel(used.height()) };
    _measured.revision = _storage->revision();
    _measured.containerWidth = _tc->containerSize().width();
    _measured.containerHeight = _tc->containerSize().height();
    _measured.known = true;
}

void XmlWebMenu::ItemText::releaseLayout()
{
    if (!isMeasured())
        measure();
    if (!_lm)
        return;
    // A container a text view edits keeps its manager until the editing ends.
    if (_tc->textView() || _tc->layoutManager() != _lm.get())
        _lm->discardLayout();
    else
        _lm.reset();
}

// --- Element protocol ------------------------------------------------------------------------

XmlWebMenu::XmlWebMenu(Key key)
    : XmlBoxModel(key)
    , _itemStyle(*this)
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
        if (tag == u"normalBkgnd"_sv)
            return _normalBkgnd;
        if (tag == u"hoverBkgnd"_sv)
            return _hoverBkgnd;
        if (tag == u"clickBkgnd"_sv)
            return _clickBkgnd;
        if (tag == u"currentBkgnd"_sv)
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
            xml += QLatin1Char(' ') + QLatin1String(key) + QStringLiteral("=\"") + lq::colorToCSSString(value)
                + QLatin1Char('"');
        };
        number("orient", orientation());
        number("hspace", leadingHorzSpace());
        colour("nBkgnd", normalBkgnd());
        colour("nText", _itemStyle.normalText());
        colour("hBkgnd", hoverBkgnd());
        colour("hText", _itemStyle.hoverText());
        colour("cBkgnd", clickBkgnd());
        colour("cText", _itemStyle.clickText());
        colour("crBkgnd", currentBkgnd());
        colour("crText", _itemStyle.currentText());
        number("nBkEn", normalBkgndEn() ? 1 : 0);
        number("hBkEn", hoverBkgndEn() ? 1 : 0);
        number("cBkEn", clickBkgndEn() ? 1 : 0);
        number("crBkEn", currentBkgndEn() ? 1 : 0);
        number("nUnderline", _itemStyle.normalUnderline());
        number("hUnderline", _itemStyle.hoverUnderline());
        number("cUnderline", _itemStyle.clickUnderline());
        number("crUnderline", _itemStyle.currentUnderline());
        number("mipt", _itemStyle.mipt());
        number("mipl", _itemStyle.mipl());
        number("mipb", _itemStyle.mipb());
        number("mipr", _itemStyle.mipr());
        number("mibt", _itemStyle.mibt());
        number("mibl", _itemStyle.mibl());
        number("mibb", _itemStyle.mibb());
        number("mibr", _itemStyle.mibr());
        number("mibtype", _itemStyle.mibtype());
        number("mispace", _itemStyle.mispace());
        colour("mibtc", _itemStyle.mibtc());
        colour("miblc", _itemStyle.miblc());
        colour("mibbc", _itemStyle.mibbc());
        colour("mibrc", _itemStyle.mibrc());
        number("gtype", _itemStyle.navTypeForGroup());
        number("npl", _navPlacement);
        number("ism", _itemStyle.indentSubmenu());
        number("miw", _itemStyle.miWidth());
        number("sfs", _itemStyle.subFontSize());
        number("ugr", _useGraphicRollover ? 1 : 0);
    });
}

void XmlWebMenu::setAttributeTo(const QString& key, const QString& value)
{
    lq::modelFrame(this, "setAttribute:to:", [&] {
        const auto colour = [&] { return lq::stringToColor(value).value_or(lq::Colour::black()); };
        const int number = lq::intValue(value);
        // Flags are kept in one byte: only the low byte of the number counts.
        const bool flag = static_cast<qint8>(number & 0xFF) != 0;
        if (key == u"orient"_sv)
            setOrientation(number);
        else if (key == u"nBkgnd"_sv)
            setNormalBkgnd(colour());
        else if (key == u"nText"_sv)
            _itemStyle.setNormalText(colour());
        else if (key == u"hBkgnd"_sv)
            setHoverBkgnd(colour());
        else if (key == u"hText"_sv)
            _itemStyle.setHoverText(colour());
        else if (key == u"cBkgnd"_sv)
            setClickBkgnd(colour());
        else if (key == u"cText"_sv)
            _itemStyle.setClickText(colour());
        else if (key == u"crBkgnd"_sv)
            setCurrentBkgnd(colour());
        else if (key == u"crText"_sv)
            _itemStyle.setCurrentText(colour());
        else if (key == u"nBkEn"_sv)
            setNormalBkgndEn(flag);
        else if (key == u"hBkEn"_sv)
            setHoverBkgndEn(flag);
        else if (key == u"cBkEn"_sv)
            setClickBkgndEn(flag);
        else if (key == u"crBkEn"_sv)
            setCurrentBkgndEn(flag);
        else if (key == u"nUnderline"_sv)
            _itemStyle.setNormalUnderline(number);
        else if (key == u"hUnderline"_sv)
            _itemStyle.setHoverUnderline(number);
        else if (key == u"cUnderline"_sv)
            _itemStyle.setClickUnderline(number);
        else if (key == u"crUnderline"_sv)
            _itemStyle.setCurrentUnderline(number);
        else if (key == u"mipt"_sv)
            _itemStyle.setMipt(number);
        else if (key == u"mipl"_sv)
            _itemStyle.setMipl(number);
        else if (key == u"mipb"_sv)
            _itemStyle.setMipb(number);
        else if (key == u"mipr"_sv)
            _itemStyle.setMipr(number);
        else if (key == u"mibt"_sv)
            _itemStyle.setMibt(number);
        else if (key == u"mibl"_sv)
            _itemStyle.setMibl(number);
        else if (key == u"mibb"_sv)
            _itemStyle.setMibb(number);
        else if (key == u"mibr"_sv)
            _itemStyle.setMibr(number);
        else if (key == u"mibtype"_sv)
            _itemStyle.setMibtype(number);
        else if (key == u"mispace"_sv)
            _itemStyle.setMispace(number);
        else if (key == u"mibtc"_sv)
            _itemStyle.setMibtc(colour());
        else if (key == u"miblc"_sv)
            _itemStyle.setMiblc(colour());
        else if (key == u"mibbc"_sv)
            _itemStyle.setMibbc(colour());
        else if (key == u"mibrc"_sv)
            _itemStyle.setMibrc(colour());
        else if (key == u"gtype"_sv)
            _itemStyle.setNavTypeForGroup(number);
        else if (key == u"npl"_sv)
            setNavPlacement(number);
        else if (key == u"ism"_sv)
            _itemStyle.setIndentSubmenu(number);
        else if (key == u"miw"_sv)
            _itemStyle.setMiWidth(number);
        else if (key == u"sfs"_sv)
            _itemStyle.setSubFontSize(number);
        else if (key == u"ugr"_sv)
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

int XmlWebMenu::orientation() const
{
    return _useGraphicRollover && _orientation == 1 ? 2 : _orientation;
}

void XmlWebMenu::setOrientation(int orientation)
{
    // Rollover pictures have one width: a horizontal row of them is a row of equal items.
    setStored(_orientation, orientation == 1 && _useGraphicRollover ? 2 : orientation, "setOrientation:");
}

int XmlWebMenu::navPlacement() const
{
    const XmlStyleSheet* sheet = XmlStyleSheet::cast(_parent);
    return sheet && !sheet->hasNav() ? 99 : _navPlacement;
}

void XmlWebMenu::setNavPlacement(int)
{
}

// --- Housekeeping ------------------------------------------------------------------------------------

XmlBaseList XmlWebMenu::ownedParts() const
{
    XmlBaseList parts { _normalBkgnd, _hoverBkgnd, _currentBkgnd, _clickBkgnd };
    parts.append(XmlBoxModel::ownedParts());
    return parts;
}

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

void XmlWebMenu::genCSSBitmap(QString& script)
{
    lq::modelFrame(this, "genCSSBitmap:", [&] {
        XmlBoxModel::genCSSBitmap(script);
        forEachBackground([&](XmlCSSBackground& background) { background.genCSSBitmap(script); });
    });
}
