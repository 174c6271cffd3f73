#pragma once

#include "elements/XmlWebMenu.h"

// Writes a navigation menu into the site: the template's CSS for the box
// and the items of each state, and the HTML of each page pass (the font
// checks of the site script, the box, and the item links).
class WebMenuHtml {
public:
    explicit WebMenuHtml(XmlWebMenu& menu)
        : _menu(menu)
    {
    }

    void appendCSS(QString& css);
    void appendCSSMenuItemBorders(QString& css);
    // A size of 0 is the record's own.
    void appendCSSFontParametersForFontWithSize(QString& css, XmlWebFont& record, int size);
    void appendHTMLPagePassSheet(QString& html, XmlBase* page, PagePass pass, XmlStyleSheet* sheet);
    void appendFontChecks(QString& html);
    void appendNavigationBox(QString& html);
    void appendItemLinks(QString& html, XmlBase* page);

private:
    using ItemFrame = XmlWebMenu::ItemFrame;
    using ItemText = XmlWebMenu::ItemText;

    // The link of an item standing as the key says.
    QString itemLink(const ItemText::LinkKey& key);

    using Walk = XmlWebMenu::Walk;

    XmlWebMenu& _menu;
};
