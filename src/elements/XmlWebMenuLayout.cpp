// The navigation menu's box: its size from the rows and columns of its
// items, and the sizes of its items and rows as the last layout left them.
#include "elements/XmlWebMenu.h"

#include "platform/ExceptionFrame.h"
#include "platform/Log.h"

#include <algorithm>

// --- Layout ------------------------------------------------------------------------------------

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

int XmlWebMenu::calcHeight() const
{
    return lq::modelFrame(this, "calcHeight", [&] {
        const int itemHeights = _itemStyle.mibt() + _itemStyle.mibb() + _itemStyle.mipt() + _itemStyle.mipb();
        int h = _bt + _bb + _pt + _pb + (dropShadow() ? shadowStrip : 0);
        if (!horizontal()) {
            const auto addColumn = [&](const std::vector<ItemTextPtr>& texts) {
                const int n = static_cast<int>(texts.size());
                if (n > 1)
                    h += (n - 1) * _itemStyle.mispace();
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

// --- Item and row sizes ------------------------------------------------------------------------

bool XmlWebMenu::horizontal() const
{
    return orientation() != 0;
}

int XmlWebMenu::itemWidth(const ItemText& item) const
{
    const int borders = _itemStyle.mibl() + _itemStyle.mibr() + _itemStyle.mipl() + _itemStyle.mipr();
    switch (orientation()) {
    case 0:
        return internalWidth();
    case 2:
        return _itemStyle.miWidth() + borders;
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
        return static_cast<int>(_rowWidths->sums[which] + static_cast<long long>(row.size()) * _itemStyle.mispace() - _itemStyle.mispace());
    }
    // The items of a row share their borders, and with a fixed text width
    // their width: only the texts' widths are added up item by item.
    const long long count = static_cast<long long>(row.size());
    const int borders = _itemStyle.mibl() + _itemStyle.mibr() + _itemStyle.mipl() + _itemStyle.mipr();
    long long sum = 0;
    if (orientation() == 2) {
        sum = count * (_itemStyle.miWidth() + borders);
    } else {
        for (const ItemTextPtr& text : row)
            sum += text->usedWidth();
        sum += count * borders;
    }
    return static_cast<int>(sum + count * _itemStyle.mispace() - _itemStyle.mispace());
}

int XmlWebMenu::horzMenuWidth() const
{
    return lq::modelFrame(this, "horzMenuWidth", [&] { return rowWidth(_contentsArray); });
}

int XmlWebMenu::horzSubMenuWidth() const
{
    return lq::modelFrame(this, "horzSubMenuWidth", [&] { return rowWidth(_subContentsArray); });
}
