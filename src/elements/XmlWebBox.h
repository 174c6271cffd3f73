#pragma once

#include "elements/XmlWebText.h"

// The masthead or page-title box of a page template; its name decides which
// ("Masthead" or "Page Title"). The text belongs to the site and the page:
// the masthead shows the site's masthead text with its link, the title the
// page's own title, both as plain text in one style from the box's font
// record (laid out by the box model).
//
// On a page it writes its background box (a masthead with a link and no text
// becomes a clickable box), its text as absolutely positioned lines that
// never wrap in the browser, its CSS and its font-check registration.
class XmlWebBox final : public XmlWebText {
public:
    explicit XmlWebBox(Key key);

    static std::shared_ptr<XmlWebBox> create();
    static XmlWebBox* cast(XmlBase* object) { return dynamic_cast<XmlWebBox*>(object); }

    QString elementName() const override;

    bool enabled() override;
    bool canDoubleClick() override;

    // The font-check lines in the head script; the box div in the masthead's
    // or the page title's box layer; one element per line piece in its text
    // layer.
    void appendHTMLPagePassSheet(QString& html, XmlBase* page, PagePass pass, XmlStyleSheet* sheet) override;
    void appendCSS(QString& css) override;
    void appendCSSWinIESuffix(QString& css, const QString& suffix) override;
    // Stores the edited text as plain text: the masthead's into the current
    // page's masthead, the title's into the current page; then ends editing.
    void endEditingInView() override;
    // The height of the laid-out text in whole pixels; 0 without a text system.
    int textBoxHeight();

private:
    bool isMasthead() const;
    bool isPageTitle() const;
};
