#include "templates/XmlSideBar.h"

#include "platform/ExceptionFrame.h"

#include <algorithm>

XmlSideBar::XmlSideBar(Key key)
    : XmlBoxModel(key)
{
    _widthFixed = true;
    _heightFixed = false;
    _absolute = true;
    _width = 150;
}

std::shared_ptr<XmlSideBar> XmlSideBar::create()
{
    return make<XmlSideBar>();
}

QString XmlSideBar::elementName() const
{
    return QStringLiteral("cssSidebar");
}

QString XmlSideBar::name() const
{
    return QStringLiteral("Sidebar");
}

bool XmlSideBar::enabled()
{
    return false;
}

bool XmlSideBar::canDoubleClick()
{
    return false;
}

int XmlSideBar::internalHeight() const
{
    return lq::modelFrame(this, "internalHeight", [&] {
        const int framing = bt() + bb() + pt() + pb();
        const int fromContent = _sidebarHeight - framing;
        const int pageBottom = lq::truncatedPixel(static_cast<double>(_pageBounds.y()) + _pageBounds.height());
        const int fromPage = pageBottom - (top() + framing);
        return std::max(fromContent, fromPage);
    });
}

void XmlSideBar::appendHTMLPagePassSheet(QString&, XmlBase*, PagePass, XmlStyleSheet*)
{
}

void XmlSideBar::appendCSS(QString&)
{
}

void XmlSideBar::appendCSSWinIESuffix(QString& css, const QString& suffix)
{
    lq::modelFrame(this, "appendCSSWinIE:suffix:", [&] {
        appendCSSWinIEBackgroundTagSuffix(css, QStringLiteral("#sidebar"), suffix);
    });
}
