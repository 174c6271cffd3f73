#include "ui/app/DeleteTemplates.h"

#include "document/MyDocument.h"
#include "ui/editors/XmlOutlineView.h"
#include "model/core/XmlEnvelops.h"
#include "model/site/XmlAlbum.h"
#include "theme/XmlTheme.h"
#include "platform/ExceptionFrame.h"
#include "ui/widgets/ModalHandler.h"
#include "templates/XmlStyleSheet.h"

namespace {

bool isUsed(MyDocument& document, const XmlStyleSheet& sheet)
{
    for (const auto& item : document.webItems()) {
        const auto* page = dynamic_cast<const XmlAlbum*>(item.get());
        if (page && page->templateNum() == sheet.templateSeqNum())
            return true;
    }
    return false;
}

} // namespace

DeleteTemplates::DeleteTemplates(QWidget* window, MyDocument& document)
    : CheckListSheet(window, QStringLiteral("Delete Templates"))
    , _document(document)
    , DeleteList(addCheckList(QStringLiteral("Templates no page uses:")))
{
}

int DeleteTemplates::deleteTemplates()
{
    return lq::uiFrame(this, "deleteTemplates:", [&] {
        XmlTheme* theme = _document.theme();
        if (!theme)
            return 0;
        const std::shared_ptr<XmlEnvelops> tree = referenceTree();
        // The templates in theme order, as long as the children are templates.
        for (const XmlBasePtr& child : theme->children()) {
            auto* sheet = XmlStyleSheet::cast(child.get());
            if (!sheet)
                break;
            if (!isUsed(_document, *sheet))
                addReference(*tree, sheet->name(), *sheet);
        }
        DeleteList->setXmlBase(tree->UUID());
        if (!runSheet(QStringLiteral("Delete")))
            return 0;
        return deleteOk(*tree);
    });
}

int DeleteTemplates::deleteOk(const XmlBase& tree)
{
    XmlTheme* theme = _document.theme();
    XmlBaseList doomed;
    for (const XmlBasePtr& element : checkedElements(tree)) {
        if (XmlStyleSheet::cast(element.get()) && element->parent() == theme)
            doomed.append(element);
    }
    // A theme without templates would leave new pages without one.
    if (!doomed.isEmpty() && doomed.size() == theme->childrenOfType<XmlStyleSheet>().size()) {
        const XmlBasePtr kept = doomed.takeFirst();
        lq::runAlert(parentWidget(), QStringLiteral("One template stays"),
            QStringLiteral("A website needs at least one template: \"") + kept->name() + QStringLiteral("\" was kept."));
    }
    for (const XmlBasePtr& sheet : doomed)
        theme->removeChild(sheet.get());
    return static_cast<int>(doomed.size());
}
