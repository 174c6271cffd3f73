#pragma once
#include "ui/app/CheckListSheet.h"

class MyDocument;
class XmlStyleSheet;

// The sheet that copies parts of one template into others: the page
// settings (centring and background) and chosen elements of the source go
// into every ticked target. A Vorn Box is added as a new box; any other
// element replaces the target's element of the same name (a target without
// one is left as it is).
class CopyElements : public CheckListSheet {
    Q_OBJECT
public:
    CopyElements(QWidget* window, MyDocument& document);

    // Lists the source's parts and the theme's other templates, runs the
    // sheet and copies what was ticked. With no source, the parts list holds
    // only "Page Settings", and copying it does nothing.
    void copyElements(XmlStyleSheet* source);
    // Copies the ticked parts of the source into one target.
    void copyElementsFromToSheet(XmlStyleSheet& source, XmlStyleSheet& target, const XmlBaseList& parts);

    XmlOutlineView* elementList() const { return _elementList; }
    XmlOutlineView* templateList() const { return _templateList; }

private:
    MyDocument& _document;
    XmlOutlineView* _elementList;
    XmlOutlineView* _templateList;
};
