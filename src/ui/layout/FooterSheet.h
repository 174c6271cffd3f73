#pragma once

#include "ui/layout/InspectorSheet.h"

class MyTextView;
class QString;
class QWidget;
class XmlStyleSheet;
class XmlWebFooter;

// The footer sheet (tags 7xx): its place, its font, its credit and view
// counter, and the HTML snippet it may show instead.
class FooterSheet : public InspectorSheet {
public:
    using InspectorSheet::InspectorSheet;

    QWidget* build();
    void fill(XmlWebFooter& footer);
    void apply(QWidget* sender, int tag, XmlWebFooter* footer);
    // Each edit of the snippet goes into the template's footer.
    void applySnippet(XmlStyleSheet& sheet, const QString& text);

    MyTextView* footerSnippetEditor() const { return _footerSnippetEditor; }

private:
    MyTextView* _footerSnippetEditor = nullptr;
};
