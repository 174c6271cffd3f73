#pragma once

#include "ui/layout/InspectorSheet.h"

class QWidget;
class XmlBoxModel;
class XmlStyleSheet;
class XmlWebContent;

// The content sheet (tags 4xx): the text box's place and size, whether it
// reaches the page's bottom, the template's spacing and the four fonts
// (text, heading, subheading, caption).
class ContentSheet : public InspectorSheet {
public:
    using InspectorSheet::InspectorSheet;

    QWidget* build();
    void fill(XmlWebContent& content, XmlStyleSheet& sheet);
    // Answers whether the end steps of the controller's action follow.
    bool apply(QWidget* sender, int tag, XmlStyleSheet& sheet, XmlBoxModel* element);
};
