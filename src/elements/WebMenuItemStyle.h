#pragma once

#include "model/core/XmlBase.h"
#include "platform/Colour.h"
#include "platform/ExceptionFrame.h"

// The stored look of a navigation menu's items, which the menu writes and
// reads with its other attributes: each state's text colour and underline
// (0 current, 1 normal, 2 hover, 3 click), the padding, borders and spacing
// all items share, the item text width, the submenu's indent and font size,
// and which pages are items. A value the menu holds (XmlWebMenu::itemStyle);
// every setter marks the menu's document changed, in the menu's frame.
class WebMenuItemStyle {
public:
    explicit WebMenuItemStyle(XmlBase& menu);
    WebMenuItemStyle(const WebMenuItemStyle&) = delete;
    WebMenuItemStyle& operator=(const WebMenuItemStyle&) = delete;

    // --- Item text per state --------------------------------------------------------------
    const lq::Colour& normalText() const { return _normalText; }
    void setNormalText(const lq::Colour& colour);
    const lq::Colour& hoverText() const { return _hoverText; }
    void setHoverText(const lq::Colour& colour);
    const lq::Colour& clickText() const { return _clickText; }
    void setClickText(const lq::Colour& colour);
    const lq::Colour& currentText() const { return _currentText; }
    void setCurrentText(const lq::Colour& colour);
    int normalUnderline() const { return _normalUnderline; }
    void setNormalUnderline(int underline);
    int hoverUnderline() const { return _hoverUnderline; }
    void setHoverUnderline(int underline);
    int clickUnderline() const { return _clickUnderline; }
    void setClickUnderline(int underline);
    int currentUnderline() const { return _currentUnderline; }
    void setCurrentUnderline(int underline);

    // --- Item box ---------------------------------------------------------------------------
    int mipt() const { return _mipt; }
    void setMipt(int padding);
    int mipl() const { return _mipl; }
    void setMipl(int padding);
    int mipb() const { return _mipb; }
    void setMipb(int padding);
    int mipr() const { return _mipr; }
    void setMipr(int padding);
    int mibt() const { return _mibt; }
    void setMibt(int width);
    int mibl() const { return _mibl; }
    void setMibl(int width);
    int mibb() const { return _mibb; }
    void setMibb(int width);
    int mibr() const { return _mibr; }
    void setMibr(int width);
    // 0 solid, 1 double, 2 dotted, 3 dashed, 4 groove, 5 ridge.
    int mibtype() const { return _mibtype; }
    void setMibtype(int type);
    int mispace() const { return _mispace; }
    void setMispace(int space);
    const lq::Colour& mibtc() const { return _mibtc; }
    void setMibtc(const lq::Colour& colour);
    const lq::Colour& miblc() const { return _miblc; }
    void setMiblc(const lq::Colour& colour);
    const lq::Colour& mibbc() const { return _mibbc; }
    void setMibbc(const lq::Colour& colour);
    const lq::Colour& mibrc() const { return _mibrc; }
    void setMibrc(const lq::Colour& colour);

    // --- Arrangement ------------------------------------------------------------------------
    // The text width of every item with orientation 2.
    int miWidth() const { return _miWidth; }
    void setMiWidth(int width);
    // Extra left indent of submenu item texts.
    int indentSubmenu() const { return _indentSubmenu; }
    void setIndentSubmenu(int indent);
    // Font size of submenu items.
    int subFontSize() const { return _subFontSize; }
    void setSubFontSize(int size);
    // Which pages are items: 0 the home page's list; 1 the list of the shown
    // page's parent; 2 the home page's list with the current group's pages
    // as a submenu.
    int navTypeForGroup() const { return _navTypeForGroup; }
    void setNavTypeForGroup(int type);

private:
    // Stores the value and marks the menu's document changed.
    template <typename Field, typename Value>
    void setStored(Field& field, Value&& value, const char* operation)
    {
        lq::modelFrame(_menu, operation, [&] {
            field = std::forward<Value>(value);
            _menu->docChanged();
        });
    }

    XmlBase* _menu;
    lq::Colour _normalText = lq::Colour::black();
    lq::Colour _hoverText = lq::Colour::black();
    lq::Colour _clickText = lq::Colour::black();
    lq::Colour _currentText = lq::Colour::black();
    int _normalUnderline = 0;
    int _hoverUnderline = 0;
    int _clickUnderline = 0;
    int _currentUnderline = 0;
    int _navTypeForGroup = 0;
    int _mipt = 0;
    int _mipl = 0;
    int _mipb = 0;
    int _mipr = 0;
    int _mibt = 0;
    int _mibl = 0;
    int _mibb = 0;
    int _mibr = 0;
    int _mibtype = 0;
    int _mispace = 0;
    lq::Colour _mibtc = lq::Colour::fromWhite(0.5f);
    lq::Colour _miblc = lq::Colour::fromWhite(0.5f);
    lq::Colour _mibbc = lq::Colour::fromWhite(0.5f);
    lq::Colour _mibrc = lq::Colour::fromWhite(0.5f);
    int _indentSubmenu = 0;
    int _miWidth = 30;
    int _subFontSize = 12;
};
