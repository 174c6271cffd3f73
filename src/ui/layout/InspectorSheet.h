#pragma once

#include <QString>

class ImageWell;
struct InspectorFontTags;
class LayoutController;
class QWidget;
class SheetBuilder;
class XmlStyleSheet;
class XmlWebFont;

// What every sheet of the inspector shares: the layout controller it works
// for, builders whose controls send the controller's actions, the rows of a
// font and of an element's geometry, and the template laid out again after
// a change. A sheet builds its view once, fills its controls from its
// element (filling never sends an action) and applies what a control of it
// sent to the element; the controller decides, by the control's tag, which
// sheet a control belongs to.
class InspectorSheet {
public:
    explicit InspectorSheet(LayoutController& controller);
    virtual ~InspectorSheet();

protected:
    // The largest number a sheet's plain number fields take.
    static constexpr int largestNumber = 9999;

    // A builder whose controls send action (panelBuilder: action3).
    SheetBuilder sheetBuilder(QWidget* body);
    SheetBuilder panelBuilder(QWidget* body);
    // The body of an element sheet with its title and its Properties (N99)
    // and Borders (N98) buttons, which send action2.
    QWidget* buildElementSheet(int hundreds, const QString& title);
    // The position and size fields of the sheet's element.
    void addGeometryFields(QWidget* sheet, const QString& identifier);
    // The rows of one font of a sheet, and the font shown in them.
    static void addFontRows(SheetBuilder& rows, const InspectorFontTags& tags);
    static void showFont(QWidget* view, const XmlWebFont* font, const InspectorFontTags& tags);
    // A picture well that sends action (action3 for the border panel's).
    ImageWell* makeImageWell(int tag, bool borderPanel);
    // The sheet's own view (the one it was made with).
    QWidget* sheetView(const QString& identifier) const;
    // The template laid out again (for the current page, or none) and the canvas redrawn.
    void relayoutTemplate(XmlStyleSheet& sheet, bool withPage);

    LayoutController& _controller;
};
