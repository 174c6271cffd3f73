#pragma once

#include "templates/XmlBoxModel.h"

// The sidebar box of a page template: a 150-pixel wide box with a
// background that writes no HTML and no CSS rules of its own, only its share
// of the fix-up rules for Internet Explorer on Windows. It is not offered in
// the editor's element lists and cannot be edited in place. It has no
// attributes of its own: its start tag holds the box's and the background's.
class XmlSideBar final : public XmlBoxModel {
public:
    explicit XmlSideBar(Key key);

    static std::shared_ptr<XmlSideBar> create();
    static XmlSideBar* cast(XmlBase* object) { return dynamic_cast<XmlSideBar*>(object); }

    QString elementName() const override;
    // Always "Sidebar", whatever name is stored.
    QString name() const override;
    bool enabled() override;
    bool canDoubleClick() override;

    // The page rectangle the sidebar reaches down to.
    const lq::Rect& pageBounds() const { return _pageBounds; }
    void setPageBounds(const lq::Rect& bounds) override { _pageBounds = bounds; }
    // The accumulated height of the sidebar's content; no change notices.
    int sidebarHeight() const { return _sidebarHeight; }
    void setSidebarHeight(int height) { _sidebarHeight = height; }
    void addSidebarHeight(int height) { _sidebarHeight += height; }

    // The larger of the content height and the distance down to the bottom
    // of the page bounds, each less the borders and padding.
    int internalHeight() const override;

    // Nothing in any pass.
    void appendHTMLPagePassSheet(QString& html, XmlBase* page, PagePass pass, XmlStyleSheet* sheet) override;
    // Nothing.
    void appendCSS(QString& css) override;
    // The background's fix-up rule for "#sidebar".
    void appendCSSWinIESuffix(QString& css, const QString& suffix) override;

private:
    lq::Rect _pageBounds;
    int _sidebarHeight = 0;
};
