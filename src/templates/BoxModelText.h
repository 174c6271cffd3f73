#pragma once

#include <QString>

#include <memory>

class XmlBoxModel;
class XmlWebFont;

// The font records a box holds as children, and the site's page that a
// link in a box shows. Only the box's public face is used; the box's own
// text system is the box's (XmlBoxModelText.cpp).
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
    // Shows the site's page whose address is the link, when there is one;
    // answers whether it did.
    bool showPageWithLink(const QString& link);

private:
    XmlBoxModel& _box;
};
