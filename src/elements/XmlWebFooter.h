#pragma once

#include "elements/XmlWebContent.h"

// The footer box at the foot of every page of a template: a content box
// whose text is the site's footer text, placed a fixed distance below
// everything else on the page, or at a fixed height from the top when it is
// pinned (trog). It can carry the "Created With" credit block and, in place
// of its text, a raw HTML snippet, an owned part (never one of its children)
// that every saved footer carries as an "htmlSnippet" element.
//
// Its start tag holds the content box's attributes (without top), then
// voffset, createdWith, viewCounter, useHtmlSnippet and trog.
class XmlWebFooter : public XmlWebContent {
public:
    explicit XmlWebFooter(Key key);
    ~XmlWebFooter() override;

    static std::shared_ptr<XmlWebFooter> create();
    static XmlWebFooter* cast(XmlBase* object) { return dynamic_cast<XmlWebFooter*>(object); }

    QString elementName() const override;
    // The footer places itself below the page's text: its top is never stored.
    bool storesTop() const override { return false; }
    PageRole pageRole() const override { return PageRole::Foot; }
    void setAttributeTo(const QString& key, const QString& value) override;
    void appendAttributes(QString& xml) override;
    // "htmlSnippet" is the footer's own snippet.
    XmlBasePtr createChildFromTag(const QString& tag) override;
    // The content box's parts, then the snippet.
    QString writeXmlVorns() override;
    // The snippet once made, then the content box's parts.
    XmlBaseList ownedParts() const override;

    // --- Stored values; every setter marks the document changed --------------------
    // Below the page's content, or from the page's top when pinned (where a
    // negative offset is first set to 0).
    int voffset() const;
    void setVoffset(int offset);
    bool createdWith() const override { return _createdWith; }
    void setCreatedWith(bool createdWith);
    // Kept for the inspector; no page output uses it.
    bool viewCounter() const { return _viewCounter; }
    void setViewCounter(bool viewCounter);
    bool trog() const { return _trog; }
    void setTrog(bool pinned);
    bool useHtmlSnippet() const override { return _useHtmlSnippet; }
    void setUseHtmlSnippet(bool use);
    // The snippet element (raw HTML as its content), made on first use.
    XmlBase* htmlSnippet() override;

    // --- Placement ------------------------------------------------------------------
    // Pinned: the offset; otherwise the bottom of the page bounds plus the offset.
    int calcTop() const override;
    // Takes the offset (relative to the page bounds unless pinned), left,
    // width and height, then lays the footer out again.
    void setObjectRect(const lq::Rect& rect) override;

    // --- Template CSS -----------------------------------------------------------------
    // "#footerbox", the footer's text and link rules ("#footer ..." for
    // positioned text, "#footerbox ..." for flowing text or a snippet) and
    // the credit block rule.
    void appendCSS(QString& css) override;
    // The background's fix-up rule for "#footerbox".
    void appendCSSWinIESuffix(QString& css, const QString& suffix) override;

    // --- Canvas ----------------------------------------------------------------------------
    // With a snippet: the box, hatched in yellow and black to mark HTML the
    // canvas cannot show.
    void drawObject() override;
    // With a snippet: nothing.
    void drawText() override;

private:

    mutable int _voffset = 0; // a pinned footer reads a negative offset as 0 once asked
    bool _createdWith = true;
    bool _viewCounter = false;
    bool _trog = false;
    bool _useHtmlSnippet = false;
    XmlBasePtr _htmlSnippet;
};
