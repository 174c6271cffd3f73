#pragma once

#include <QVariant>

// An object whose link the rich-text editor edits in place of a link of its
// text (the album pane edits a photo's link this way). A link is an address
// (string), the page number of a page of the site (integer), or nothing.
class LinkTarget {
public:
    virtual ~LinkTarget() = default;
    virtual QVariant getLink() = 0;
    // 1 when the link opens a new window, else 0.
    virtual int getNewWindow() = 0;
    virtual void setLink(const QVariant& link) = 0;
    virtual void setNewWindow(int newWindow) = 0;
};
