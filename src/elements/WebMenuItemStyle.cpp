#include "elements/WebMenuItemStyle.h"

WebMenuItemStyle::WebMenuItemStyle(XmlBase& menu)
    : _menu(&menu)
{
}

void WebMenuItemStyle::setNormalText(const lq::Colour& colour) { setStored(_normalText, colour, "setNormalText:"); }
void WebMenuItemStyle::setHoverText(const lq::Colour& colour) { setStored(_hoverText, colour, "setHoverText:"); }
void WebMenuItemStyle::setClickText(const lq::Colour& colour) { setStored(_clickText, colour, "setClickText:"); }
void WebMenuItemStyle::setCurrentText(const lq::Colour& colour) { setStored(_currentText, colour, "setCurrentText:"); }
void WebMenuItemStyle::setNormalUnderline(int underline) { setStored(_normalUnderline, underline, "setNormalUnderline:"); }
void WebMenuItemStyle::setHoverUnderline(int underline) { setStored(_hoverUnderline, underline, "setHoverUnderline:"); }
void WebMenuItemStyle::setClickUnderline(int underline) { setStored(_clickUnderline, underline, "setClickUnderline:"); }
void WebMenuItemStyle::setCurrentUnderline(int underline) { setStored(_currentUnderline, underline, "setCurrentUnderline:"); }

void WebMenuItemStyle::setMipt(int padding) { setStored(_mipt, padding, "setMipt:"); }
void WebMenuItemStyle::setMipl(int padding) { setStored(_mipl, padding, "setMipl:"); }
void WebMenuItemStyle::setMipb(int padding) { setStored(_mipb, padding, "setMipb:"); }
void WebMenuItemStyle::setMipr(int padding) { setStored(_mipr, padding, "setMipr:"); }
void WebMenuItemStyle::setMibt(int width) { setStored(_mibt, width, "setMibt:"); }
void WebMenuItemStyle::setMibl(int width) { setStored(_mibl, width, "setMibl:"); }
void WebMenuItemStyle::setMibb(int width) { setStored(_mibb, width, "setMibb:"); }
void WebMenuItemStyle::setMibr(int width) { setStored(_mibr, width, "setMibr:"); }
void WebMenuItemStyle::setMibtype(int type) { setStored(_mibtype, type, "setMibtype:"); }
void WebMenuItemStyle::setMispace(int space) { setStored(_mispace, space, "setMispace:"); }
void WebMenuItemStyle::setMibtc(const lq::Colour& colour) { setStored(_mibtc, colour, "setMibtc:"); }
void WebMenuItemStyle::setMiblc(const lq::Colour& colour) { setStored(_miblc, colour, "setMiblc:"); }
void WebMenuItemStyle::setMibbc(const lq::Colour& colour) { setStored(_mibbc, colour, "setMibbc:"); }
void WebMenuItemStyle::setMibrc(const lq::Colour& colour) { setStored(_mibrc, colour, "setMibrc:"); }
void WebMenuItemStyle::setMiWidth(int width) { setStored(_miWidth, width, "setMiWidth:"); }
void WebMenuItemStyle::setIndentSubmenu(int indent) { setStored(_indentSubmenu, indent, "setIndentSubmenu:"); }
void WebMenuItemStyle::setSubFontSize(int size) { setStored(_subFontSize, size, "setSubFontSize:"); }
void WebMenuItemStyle::setNavTypeForGroup(int type) { setStored(_navTypeForGroup, type, "setNavTypeForGroup:"); }
