// The navigation menu's box: its size from the rows and columns of its
// items, and the layout of the items (WebMenuLayout) for the canvas.
#include "elements/XmlWebMenu.h"

#include "elements/WebMenuGeometry.h"
#include "elements/WebMenuLayout.h"
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
        WebMenuLayout(*this).layoutItems(page);
    } catch (const lq::Exception& failure) {
        lq::log(QStringLiteral("webmenu relayout error: %1: %2").arg(failure.name(), failure.reason()));
        lq::log(createXml());
    }
}

int XmlWebMenu::calcHeight() const
{
    return lq::modelFrame(this, "calcHeight", [&] {
        const int itemHeights = _mibt + _mibb + _mipt + _mipb;
        int h = _bt + _bb + _pt + _pb + (dropShadow() ? shadowStrip : 0);
        if (!WebMenuGeometry(*this).horizontal()) {
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
        if (!WebMenuGeometry(*this).horizontal())
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
        if (!WebMenuGeometry(*this).horizontal())
            return iw;
        return std::max({ WebMenuGeometry(*this).horzMenuWidth(), WebMenuGeometry(*this).horzSubMenuWidth(), iw });
    });
}
