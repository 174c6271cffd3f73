#pragma once
#include "ui/app/CheckListSheet.h"

class MyDocument;

// The sheet in which the user ticks the site files that go into an
// exported theme. The ticks are the check marks of the site's own file and
// folder elements (ticking a folder ticks what it holds); the export reads
// them. They stay as they were left, also after Cancel.
class IncludeFiles : public CheckListSheet {
    Q_OBJECT
public:
    IncludeFiles(QWidget* window, MyDocument& document);

    // Shows the site's files and runs the sheet; true when it was confirmed.
    bool includeFiles();
    XmlOutlineView* filesList() const { return FilesList; }

private:
    MyDocument& _document;
    XmlOutlineView* FilesList;
};
