#pragma once

#include "model/core/XmlBase.h"
#include "templates/PagePass.h"

#include <QString>

class XmlStyleSheet;
class XmlVornBox;

// The Vorn Box's HTML writer: the page a preview view shows, the
// template's CSS, and the box's part of the page in its pass.
class VornBoxHtml {
public:
    explicit VornBoxHtml(XmlVornBox& box)
        : _box(box)
    {
    }

    // The preview page of a snippet, movie, Flash movie or image box; null
    // for rich text, inline frames and layer boxes.
    QString htmlString();
    void appendCSS(QString& css);
    void appendCSSWinIESuffix(QString& css, const QString& suffix);
    // The box's division and content in its pass; nothing in the others.
    void appendHTMLPagePassSheet(QString& html, XmlBase* page, PagePass pass, XmlStyleSheet* sheet);

private:
    // The image (with its link and rollover) for the page or the preview.
    void appendImage(QString& html, bool forPage);

    XmlVornBox& _box;
};
