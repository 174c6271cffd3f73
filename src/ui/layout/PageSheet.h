#pragma once

#include "ui/layout/InspectorSheet.h"

class ImageWell;
class QWidget;
class XmlStyleSheet;

// The page sheet (tags 1xx): the template's background (kind, colour,
// picture, slice heights), how the page sits in the window, and the table
// of the elements shown on the pages.
class PageSheet : public InspectorSheet {
public:
    using InspectorSheet::InspectorSheet;

    QWidget* build();
    void fill(XmlStyleSheet& sheet);
    // Answers whether the end steps of the controller's action follow.
    bool apply(QWidget* sender, int tag, XmlStyleSheet& sheet);

    ImageWell* pageImageWell() const { return _pageImageWell; }

private:
    // The slice heights of the page, shown only for a sliced background (6).
    void showSliceControls(XmlStyleSheet& sheet);

    ImageWell* _pageImageWell = nullptr;
};
