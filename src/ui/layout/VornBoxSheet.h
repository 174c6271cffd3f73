#pragma once

#include "ui/layout/InspectorSheet.h"

class EasyLink2;
class ImageWell;
class MyTabView;
class MyTextView;
class QString;
class QWidget;
class QZTextEditor;
class XmlStyleSheet;
class XmlVornBox;

// The Vorn Box sheet (tags 11xx): the template's boxes in a list with add,
// delete, up and down; the selected box's kind, its external file or
// address with what a movie or a picture does, its rich text, its HTML
// snippet or its layer; and the pickers of a file of the site and of a link.
class VornBoxSheet : public InspectorSheet {
public:
    using InspectorSheet::InspectorSheet;

    QWidget* build();
    // Fills the sheet through the controller's correctVornBoxUI.
    void fill(XmlVornBox& box);
    // Fits the sheet to the box's kind and shows the box's values.
    void fit(XmlVornBox* box);
    void apply(QWidget* sender, int tag, XmlStyleSheet& sheet, XmlVornBox* box);
    // A keystroke in the file, link or rollover field (1120, 1126, 1128).
    void applyText(int tag, const QString& text, XmlVornBox& box);
    // The list's buttons and rows: add, delete, up, down, a row chosen.
    void listAction(int tag);
    // The kind, position and pages of the sheet, shown while there are boxes.
    void showVornBoxControls(bool shown);

    // The rich-text editor wrote its text: it goes into the selected box.
    void liveUpdate();
    // The pickers beside fields 1120 (a file of the site), 1126 (a link)
    // and 1128 (a file of the site): the choice goes into the field and the box.
    void vornEasyLink();
    void vornClickTo();
    void vornRollOver();
    // The one-element chooser of the two file pickers.
    EasyLink2& easyLink2();

    QZTextEditor* vornBoxText() const { return _vornBoxText; }
    MyTextView* htmlSnippetEditor() const { return _htmlSnippetEditor; }
    MyTabView* vornBoxTab() const { return _vornBoxTab; }
    MyTabView* vornBoxExternalTab() const { return _vornBoxExternalTab; }
    QWidget* vornBoxPosition() const { return _vornBoxPosition; }

private:
    QWidget* buildVornExternalPage();
    QWidget* buildVornTextPage();
    // The file picker for the field: the site's file the field names preselected.
    void pickSiteFile(int fieldTag);

    QWidget* _vornBoxPosition = nullptr;
    QZTextEditor* _vornBoxText = nullptr;
    MyTextView* _htmlSnippetEditor = nullptr;
    MyTabView* _vornBoxTab = nullptr;
    MyTabView* _vornBoxExternalTab = nullptr;
    ImageWell* _vornImageWell = nullptr;
    EasyLink2* _easyLink2 = nullptr;
    // The box's text is being loaded into its editor: no live update.
    bool _loadingVornText = false;
};
