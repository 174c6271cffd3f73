// The navigation menu's items and layout: which pages it lists for a page,
// the item texts, the rows and columns they are laid out in, and the
// box's size.
#include "elements/XmlWebMenu.h"

#include "elements/ElementHelpers.h"
#include "model/core/DocumentBase.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlGroup.h"
#include "model/site/XmlHomePage.h"
#include "model/site/XmlSite.h"
#include "platform/ExceptionFrame.h"
#include "platform/Log.h"
#include "platform/text/LayoutManager.h"
#include "platform/text/StyledText.h"
#include "platform/text/TextContainer.h"
#include "templates/BoxBorderDrawing.h"
#include "templates/XmlWebFont.h"

#include <algorithm>

using elements::toFloat;

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

lq::TextAttributes XmlWebMenu::itemAttributes(int type, bool submenu)
{
    return lq::modelFrame(this, "itemAttributes", [&] {
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
        return attributes;
    });
}

void XmlWebMenu::fillContentsWithStringTypeSubmenu(ItemText& item, const QString& name, int type, bool submenu)
{
    lq::modelFrame(this, "fillContents:withString:type:submenu:", [&] {
        const lq::TextAttributes attributes = itemAttributes(type, submenu);

        // Every page lays the menu out again, and most items come out as they
        // were: an unchanged text keeps its lines instead of being shaped anew.
        lq::StyledText& text = *item.textStorage();
        lq::StyledText next = text;
        next.setText(lq::StyledText(name, attributes));
        next.setAttributes(attributes, { 0, next.length() });
        if (!(next == text))
            text = std::move(next);

        if (_rowWidths)
            _rowWidths->update(itemWidth(item));
        const int textWidth = orientation() == 2 ? _miWidth : menuItemInternalWidth();
        item.textContainer()->setContainerSize(QSizeF(textWidth, unboundedExtent));
        item.layoutManager().glyphRangeForTextContainer(item.textContainer().get());
        if (_rowWidths)
            _rowWidths->update(itemWidth(item));
    });
}

void XmlWebMenu::RowWidths::update(int width)
{
    if (row < 0)
        return;
    int& known = widths[row][position];
    sums[row] += width - known;
    known = width;
}

// The rows' widths kept up to date for the time of a layout of every item
// (a horizontal menu's only: a vertical one has no row widths).
class XmlWebMenu::RowWidthsScope {
public:
    explicit RowWidthsScope(XmlWebMenu& menu)
        : _menu(menu)
    {
        if (!menu.horizontal())
            return;
        RowWidths widths;
        const std::vector<ItemTextPtr>* rows[2] = { &menu._contentsArray, &menu._subContentsArray };
        for (int row = 0; row < 2; ++row) {
            for (const ItemTextPtr& text : *rows[row]) {
                widths.widths[row].push_back(menu.itemWidth(*text));
                widths.sums[row] += widths.widths[row].back();
            }
        }
        menu._rowWidths = std::move(widths);
    }
    ~RowWidthsScope() { _menu._rowWidths.reset(); }
    RowWidthsScope(const RowWidthsScope&) = delete;
    RowWidthsScope& operator=(const RowWidthsScope&) = delete;

    // The item about to be laid out.
    void setItem(bool submenu, std::size_t position)
    {
        if (!_menu._rowWidths)
            return;
        _menu._rowWidths->row = submenu ? 1 : 0;
        _menu._rowWidths->position = position;
    }

private:
    XmlWebMenu& _menu;
};

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
    page = pageOrCurrentAlbum(page, remembered);
    if (!page)
        return;

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
        RowWidthsScope rowWidths(*this);
        // The items' attributes of every state in both rows: when they are
        // what the last layout used, an item whose name, state and width
        // are as they were is left as it is. From one page to the next only
        // the items of the pages that stop and start being current change.
        std::vector<lq::TextAttributes> style;
        for (const bool submenu : { false, true })
            for (int type = 0; type <= 3; ++type)
                style.push_back(itemAttributes(type, submenu));
        if (style != _styleOfLastLayout) {
            _styleOfLastLayout = std::move(style);
            ++_styleGeneration;
        }
        const auto restyle = [&](const std::vector<ItemTextPtr>& texts, const QList<MenuItem>& list, int first,
                                 bool submenu) {
            const std::size_t count = std::min(texts.size(), static_cast<std::size_t>(list.size()));
            for (std::size_t i = 0; i < count; ++i) {
                rowWidths.setItem(submenu, i);
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
                ItemText::LayoutKey key { item.name, state, submenu, orientation() == 2 ? _miWidth : menuItemInternalWidth(),
                    _styleGeneration };
                if (texts[i]->laidOutFrom == key && !(_isEditing && number == _editMenuItem))
                    continue;
                texts[i]->laidOutFrom.reset();
                fillContentsWithStringTypeSubmenu(*texts[i], item.name, state, submenu);
                texts[i]->laidOutFrom = std::move(key);
            }
        };
        restyle(_contentsArray, *items, 0, false);
        if (subItems)
            restyle(_subContentsArray, *subItems, firstSubmenuNumber(), true);
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
        item.position = static_cast<int>(i);
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
                subItem.number = firstSubmenuNumber() + static_cast<int>(j);
                subItem.submenu = true;
                subItem.position = static_cast<int>(j);
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
        subItem.number = firstSubmenuNumber() + static_cast<int>(j);
        subItem.submenu = true;
        subItem.position = static_cast<int>(j);
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

int XmlWebMenu::firstSubmenuNumber() const
{
    return std::max(firstSubmenuItem, static_cast<int>(_contentsArray.size()));
}

bool XmlWebMenu::itemOfNumber(int number, bool* submenu, int* position) const
{
    if (number < 0)
        return false;
    const int first = firstSubmenuNumber();
    *submenu = number >= first;
    *position = *submenu ? number - first : number;
    return *submenu || number < static_cast<int>(_contentsArray.size());
}

int XmlWebMenu::rowWidth(const std::vector<ItemTextPtr>& row) const
{
    if (!horizontal())
        return 0;
    if (_rowWidths && (&row == &_contentsArray || &row == &_subContentsArray)) {
        const int which = &row == &_contentsArray ? 0 : 1;
        return static_cast<int>(_rowWidths->sums[which] + static_cast<long long>(row.size()) * _mispace - _mispace);
    }
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
        BoxBorderDrawing::drawBorderBtypeTopLeftBottomRightTColorLColorBColorRColor(rect, static_cast<BorderType>(_mibtype), _mibt, _mibl, _mibb, _mibr,
                                                                  _mibtc, _miblc, _mibbc, _mibrc);
    });
}
