#pragma once

#include "ui/layout/InspectorSheet.h"

class QString;
class QWidget;
class XmlWebBox;

// The sheets of the two text boxes, the masthead (tags 2xx) and the page
// title (8xx): their place and size and their font.
class BoxSheet : public InspectorSheet {
public:
    using InspectorSheet::InspectorSheet;

    QWidget* build(int hundreds, const QString& title);
    void fill(XmlWebBox& box);
};
