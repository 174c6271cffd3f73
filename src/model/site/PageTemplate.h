#pragma once

class XmlBase;

// What a page asks of the template it is laid out with. Templates stand
// above the pages (a template lays out elements that show pages), so the
// page template answers through this.
class PageTemplate {
public:
    virtual ~PageTemplate() = default;

    // The template's number within its theme, which the page stores.
    virtual int templateSeqNum() const = 0;
    // The template as an element: the page keeps its UUID.
    virtual const XmlBase& templateElement() const = 0;
};
