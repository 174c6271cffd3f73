#include "ui/editors/links/EasyLink2.h"

#include "ui/editors/XmlOutlineView.h"
#include "platform/ExceptionFrame.h"
#include "ui/widgets/ModalHandler.h"
#include "ui/widgets/SheetBuilder.h"

#include <QDialog>
#include <QVBoxLayout>

#include <functional>

EasyLink2::EasyLink2(QObject* parent)
    : QObject(parent)
{
}

EasyLink2::~EasyLink2()
{
    delete _sheet;
}

XmlBasePtr EasyLink2::easyLinkSelectParentWindow(XmlBase* root, XmlBase* select, QWidget* window)
{
    return lq::uiFrame(this, "easyLink:select:parentWindow:", [&]() -> XmlBasePtr {
        buildSheet(window);
        LinkList->setXmlBase(root ? root->UUID() : QString());
        if (select)
            LinkList->selectObject(select);
        const int code = lq::modalHandler().runSheet(_sheet);
        XmlBasePtr chosen = code == 1 ? LinkList->selectedObject() : nullptr;
        delete _sheet;
        LinkList = nullptr;
        return chosen;
    });
}

void EasyLink2::buildSheet(QWidget* window)
{
    delete _sheet;
    _sheet = new QDialog(window);
    _sheet->setWindowTitle(QStringLiteral("Choose"));
    _sheet->resize(360, 400);
    auto* layout = new QVBoxLayout(_sheet);
    LinkList = new XmlOutlineView(0, _sheet);
    LinkList->setController(this);
    LinkList->setTextImageCell();
    layout->addWidget(LinkList, 1);
    connect(LinkList, &QAbstractItemView::doubleClicked, _sheet, [this] {
        if (LinkList->selectedObject())
            createLink();
    });
    auto* buttons = new QWidget(_sheet);
    layout->addWidget(buttons);
    SheetBuilder(buttons, this, {}).sheetButtons(_sheet);
}

void EasyLink2::createLink()
{
    if (_sheet)
        _sheet->done(1);
}

void EasyLink2::cancelLink()
{
    if (_sheet)
        _sheet->done(0);
}

XmlBasePtr EasyLink2::elementWithPath(XmlBase* root, const QString& path)
{
    if (!root || path.isEmpty())
        return nullptr;
    std::function<XmlBasePtr(XmlBase&)> search = [&](XmlBase& parent) -> XmlBasePtr {
        for (const XmlBasePtr& child : parent.children()) {
            if (child->filenameWithRoot(QString()) == path)
                return child;
            if (XmlBasePtr inside = search(*child))
                return inside;
        }
        return nullptr;
    };
    return search(*root);
}
