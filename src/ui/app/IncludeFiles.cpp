#include "ui/app/IncludeFiles.h"

#include "document/MyDocument.h"
#include "ui/editors/XmlOutlineView.h"
#include "model/files/XmlFiles.h"
#include "model/site/XmlSite.h"

IncludeFiles::IncludeFiles(QWidget* window, MyDocument& document)
    : CheckListSheet(window, QStringLiteral("Include Files"))
    , _document(document)
    , FilesList(addCheckList(QStringLiteral("Files to include with the theme:")))
{
    FilesList->setTextImageCell();
    FilesList->setRootIsDecorated(true);
}

bool IncludeFiles::includeFiles()
{
    XmlFiles* files = _document.site() ? _document.site()->files() : nullptr;
    FilesList->setXmlBase(files ? files->UUID() : QString());
    FilesList->reloadData();
    return runSheet(QStringLiteral("OK"));
}
