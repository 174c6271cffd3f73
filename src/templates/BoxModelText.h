#pragma once

#include <QString>

#include <memory>

class XmlBase;
class XmlBoxModel;
class XmlWebFont;

// A box's own text and fonts: the text laid out for the page (the
// masthead's text in the "Masthead" box, the page's title in the "Page
// Title" box, nothing in any other), the masthead's link as the box's click
// area, and the font records the box holds as children.
class BoxModelText {
public:
    explicit BoxModelText(XmlBoxModel& box)
        : _box(box)
    {
    }

    // A new font record with its defaults, named `name`, appended as a child.
    // The tag is not used.
    std::shared_ptr<XmlWebFont> addFontName(const QString& tag, const QString& name);
    // The font record named "default" among the children, or nothing.
    static std::shared_ptr<XmlWebFont> defaultFont(const XmlBoxModel& box);
    // The layout of the box's text for the page, without the failure handling
    // of relayoutFlags; nothing without a page. The text system is a cache
    // that const queries of the box fill.
    static void layoutText(const XmlBoxModel& box, XmlBase* page);
    // The masthead's link as the box's click area in the document.
    void registerClickAreas(XmlBase* page);
    void releaseTextSystem();
    // Shows the site's page whose address is the link, when there is one;
    // answers whether it did.
    bool showPageWithLink(const QString& link);

private:
    XmlBoxModel& _box;
};
