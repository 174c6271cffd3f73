// The navigation menu's page output: its own CSS and HTML are written by
// WebMenuHtml; the state backgrounds' steps for old browsers are here.
#include "elements/XmlWebMenu.h"

#include "elements/WebMenuHtml.h"

// --- Template CSS ----------------------------------------------------------------------------------

void XmlWebMenu::appendCSS(QString& css)
{
    WebMenuHtml(*this).appendCSS(css);
}

void XmlWebMenu::appendCSSWinIESuffix(QString& css, const QString& suffix)
{
    appendCSSWinIEBackgroundTagSuffix(css, QStringLiteral("#navigation"), suffix);
    _currentBkgnd->appendCSSWinIEBackgroundTagSuffix(css, QStringLiteral("a.current"), suffix);
    _normalBkgnd->appendCSSWinIEBackgroundTagSuffix(css, QStringLiteral("a.nav"), suffix);
    _hoverBkgnd->appendCSSWinIEBackgroundTagSuffix(css, QStringLiteral("a.nav:hover"), suffix);
    _clickBkgnd->appendCSSWinIEBackgroundTagSuffix(css, QStringLiteral("a.nav:active"), suffix);
    _currentBkgnd->appendCSSWinIEBackgroundTagSuffix(css, QStringLiteral("a.subcurrent"), suffix);
    _normalBkgnd->appendCSSWinIEBackgroundTagSuffix(css, QStringLiteral("a.subnav"), suffix);
    _hoverBkgnd->appendCSSWinIEBackgroundTagSuffix(css, QStringLiteral("a.subnav:hover"), suffix);
    _clickBkgnd->appendCSSWinIEBackgroundTagSuffix(css, QStringLiteral("a.subnav:active"), suffix);
}

void XmlWebMenu::genCSSWinIEBitmap(QString& script)
{
    _currentBkgnd->genCSSWinIEBitmap(script);
    _normalBkgnd->genCSSWinIEBitmap(script);
    _hoverBkgnd->genCSSWinIEBitmap(script);
    _clickBkgnd->genCSSWinIEBitmap(script);
    XmlBoxModel::genCSSWinIEBitmap(script);
}

// --- Page HTML -------------------------------------------------------------------------------------

void XmlWebMenu::appendHTMLPagePassSheet(QString& html, XmlBase* page, PagePass pass, XmlStyleSheet* sheet)
{
    WebMenuHtml(*this).appendHTMLPagePassSheet(html, page, pass, sheet);
}
