#pragma once

#include <QString>

#include <memory>

class XmlVornBox;
class XmlWebFont;

// A rich-text Vorn Box's fonts and links: the records of the template's
// content box it writes and draws in, and the link colours it shows while
// the pointer is over a link.
class VornBoxText {
public:
    explicit VornBoxText(XmlVornBox& box)
        : _box(box)
    {
    }

    // The content box's record by kind (0 the default record, 1 the heading,
    // 2 the subheading, 3 the caption), or nothing without a content box.
    std::shared_ptr<XmlWebFont> contentRecord(int type);
    std::shared_ptr<XmlWebFont> heading();
    std::shared_ptr<XmlWebFont> subheading();
    std::shared_ptr<XmlWebFont> caption();
    // Colours the link of the range string (hovered or clicked), or takes the
    // colour away again.
    void showLinkColour(const QString& data, bool hover, bool clicked);

private:
    XmlVornBox& _box;
};
