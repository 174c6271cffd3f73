#pragma once
#include "ui/app/CheckListSheet.h"

class MyDocument;

// The sheet that removes page templates no page uses: it lists them, and
// OK removes the ticked ones from the theme. Pages are never touched, and
// the theme always keeps at least one template.
class DeleteTemplates : public CheckListSheet {
    Q_OBJECT
public:
    DeleteTemplates(QWidget* window, MyDocument& document);

    // Lists the unused templates, runs the sheet and removes what was
    // ticked; answers how many templates were removed.
    int deleteTemplates();
    XmlOutlineView* deleteList() const { return DeleteList; }

private:
    int deleteOk(const XmlBase& tree);

    MyDocument& _document;
    XmlOutlineView* DeleteList;
};
