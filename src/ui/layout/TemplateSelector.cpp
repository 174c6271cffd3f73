// The template selector: the list of the theme's templates and its commands.
#include "ui/layout/TemplateSelector.h"

#include "ui/app/CopyElements.h"
#include "ui/app/DeleteTemplates.h"
#include "ui/app/MyDocumentWindow.h"
#include "document/MyDocument.h"
#include "ui/layout/LayoutController.h"
#include "ui/layout/TemplateListSource.h"
#include "model/site/XmlAlbum.h"
#include "theme/XmlTheme.h"
#include "platform/ExceptionFrame.h"
#include "ui/widgets/ItemModelAdaptor.h"
#include "ui/widgets/MyButton.h"
#include "ui/widgets/MyOutlineView.h"
#include "ui/widgets/TableColumn.h"
#include "templates/XmlStyleSheet.h"
#include "ui/widgets/ScreenText.h"

#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QSignalBlocker>
#include <QVBoxLayout>

TemplateSelector::TemplateSelector(LayoutController& controller)
    : _controller(controller)
    , _templateSource(std::make_unique<TemplateListSource>())
{
}

TemplateSelector::~TemplateSelector() = default;

void TemplateSelector::build(QVBoxLayout* column, QWidget* owner)
{
    column->addWidget(lq::plainLabel(QStringLiteral("Templates")));
    _templateList = new MyOutlineView(0);
    _templateList->setDataSource(_templateSource.get(), {TableColumn {QStringLiteral("name"), QStringLiteral("Template"), TableColumn::Kind::Text, true, {}}});
    _templateList->setHeaderHidden(true);
    _templateList->setRootIsDecorated(false);
    _templateList->setDragEnabled(false);
    _templateList->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    QObject::connect(_templateList->selectionModel(), &QItemSelectionModel::currentChanged, &_controller, [this] { templateSelector(); });
    column->addWidget(_templateList);
    auto* templateButtons = new QHBoxLayout;
    const struct {
        const char* title;
        const char* tip;
        void (TemplateSelector::*action)();
    } templateCommands[] = {
        {"Add", "A copy of this page's template, named after the page, becomes its template", &TemplateSelector::addTemplate},
        {"Delete…", "Remove templates that no page uses", &TemplateSelector::deleteTemplates},
        {"Copy…", "Copy page settings and elements of the chosen template into other templates", &TemplateSelector::copyElements},
    };
    for (const auto& command : templateCommands) {
        auto* button = new MyButton(0, QString::fromUtf8(command.title), owner);
        button->setAutoDefault(false);
        button->setToolTip(lq::plainToolTip(QString::fromUtf8(command.tip)));
        QObject::connect(button, &QPushButton::clicked, &_controller, [this, action = command.action] { (this->*action)(); });
        templateButtons->addWidget(button);
    }
    column->addLayout(templateButtons);
}

void TemplateSelector::showTheme(XmlTheme* theme)
{
    _templateSource->setXmlBase(theme ? theme->UUID() : QString());
    _templateList->reloadData();
}

void TemplateSelector::selectTemplateInList(XmlStyleSheet* sheet)
{
    ItemModelAdaptor* adaptor = _templateList->adaptor();
    if (!adaptor)
        return;
    // Choosing the row here is not the user choosing a template.
    const QSignalBlocker quiet(_templateList->selectionModel());
    const QModelIndex row = sheet ? adaptor->indexForItem(sheet) : QModelIndex();
    if (row.isValid())
        _templateList->selectionModel()->setCurrentIndex(row, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    else
        _templateList->selectionModel()->clearSelection();
    _templateList->viewport()->update();
}

void TemplateSelector::addTemplate()
{
    lq::uiFrame(&_controller, "addTemplate:", [&] {
        const std::shared_ptr<XmlStyleSheet> original = _controller.currentTemplate();
        const std::shared_ptr<XmlAlbum> page = _controller.getAlbum();
        XmlTheme* theme = _controller.document().theme();
        if (!original || !page || !theme)
            return;
        const std::shared_ptr<XmlStyleSheet> copy
            = std::dynamic_pointer_cast<XmlStyleSheet>(XmlBase::createWithXmlRootDir(original->createXml(), QString()));
        if (!copy)
            return;
        theme->addTemplate(copy);
        _templateList->reloadData();
        copy->setName(page->name());
        page->setTemplateNum(copy->templateSeqNum());
        page->setTemplateForUUID(copy->templateSeqNum(), copy->UUID());
        _controller.setPageWithTemplate(page->UUID(), copy->UUID());
    });
}

void TemplateSelector::templateSelector()
{
    lq::uiFrame(&_controller, "templateSelector:", [&] {
        const QModelIndex current = _templateList->selectionModel()->currentIndex();
        auto* chosen = TemplateListSource::element(_templateList->adaptor()->itemForIndex(current));
        if (XmlStyleSheet::cast(chosen))
            _controller.setPageWithTemplate(_controller.currentAlbum(), chosen->UUID());
    });
}

void TemplateSelector::deleteTemplates()
{
    lq::uiFrame(&_controller, "deleteTemplates:", [&] {
        DeleteTemplates sheet(&_controller.window(), _controller.document());
        if (sheet.deleteTemplates() > 0)
            _controller.updateTemplateSelector();
    });
}

void TemplateSelector::copyElements()
{
    lq::uiFrame(&_controller, "copyElements:", [&] {
        const QModelIndex current = _templateList->selectionModel()->currentIndex();
        XmlStyleSheet* source = XmlStyleSheet::cast(TemplateListSource::element(_templateList->adaptor()->itemForIndex(current)));
        CopyElements sheet(&_controller.window(), _controller.document());
        sheet.copyElements(source);
        _templateList->reloadData();
        _controller.relayoutSheet();
    });
}

bool TemplateSelector::outlineViewIsItemExpandable(XmlBase* item) const
{
    if (!item || XmlStyleSheet::cast(item))
        return false;
    return item->canHaveChildren();
}
