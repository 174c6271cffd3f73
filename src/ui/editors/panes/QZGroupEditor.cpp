#include "ui/editors/panes/QZGroupEditor.h"

#include "document/MyDocument.h"
#include "ui/editors/EditorHost.h"
#include "ui/editors/QZArraySelectView.h"
#include "ui/editors/panes/GroupPicSelector.h"
#include "ui/editors/panes/TextEditorArea.h"
#include "model/core/SuppressedChanges.h"
#include "model/site/XmlContent.h"
#include "model/site/XmlGroup.h"
#include "model/site/XmlPhotoRep.h"
#include "platform/ExceptionFrame.h"
#include "ui/widgets/ActionConnection.h"
#include "ui/widgets/MyButton.h"
#include "ui/widgets/MyLabel.h"
#include "ui/widgets/MyTextField.h"
#include "ui/widgets/SplitView.h"

#include <QHBoxLayout>
#include <QScrollArea>
#include <QVBoxLayout>

QZGroupEditor::QZGroupEditor(QWidget* parent)
    : QWidget(parent)
    , _selector(std::make_unique<GroupPicSelector>())
{
    setObjectName(QStringLiteral("QZGroupEditor"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(4, 4, 4, 4);

    auto* titleRow = new QHBoxLayout;
    titleRow->setSpacing(4);
    titleRow->addWidget(new MyLabel(0, QStringLiteral("Title"), this));
    _groupTitle = new MyTextField(0, this);
    _groupTitle->setToolTip(QStringLiteral("The group page's title"));
    titleRow->addWidget(_groupTitle, 1);
    lq::connectAction(_groupTitle, &QLineEdit::textEdited, this, "controlTextDidChange:", [this] {
        if (_document)
            _document->document().updateChangeCount(DocumentBase::ChangeDone);
    });
    column->addLayout(titleRow);

    _description = new TextEditorArea(QStringLiteral("Page Text"), {}, this);

    auto* pages = new QWidget(this);
    auto* pagesColumn = new QVBoxLayout(pages);
    pagesColumn->setContentsMargins(0, 4, 0, 0);
    auto* pagesRow = new QHBoxLayout;
    pagesRow->addWidget(new MyLabel(0, QStringLiteral("Pages of the group, each shown by its picture"), pages), 1);
    auto* choose = new MyButton(0, QStringLiteral("Choose Picture..."), pages);
    choose->setToolTip(QStringLiteral("Chooses the selected page's picture from its photos"));
    lq::connectAction(choose, &QPushButton::clicked, this, "selectNewPicture:", [this] { selectNewPicture(); });
    pagesRow->addWidget(choose);
    pagesColumn->addLayout(pagesRow);
    _groupArray = new QZArraySelectView;
    _groupArray->setItemSize(QSizeF(120, 90));
    _groupArray->setTargetAction([this](QZArraySelectView*) { groupArrayAction(); });
    _groupArray->setToolTip(QStringLiteral("Double-click a page to edit its picture"));
    pagesColumn->addWidget(_groupArray->makeScrollView(pages), 1);

    _splitter = new SplitView(Qt::Vertical, this);
    _splitter->addWidget(_description);
    _splitter->addWidget(pages);
    _splitter->setStretchFactor(1, 1);
    _splitter->setSizes({ 220, 400 });
    column->addWidget(_splitter, 1);
}

QZGroupEditor::~QZGroupEditor() = default;

void QZGroupEditor::setDocument(EditorHost* document)
{
    _document = document;
    _description->setHost(document);
    _groupArray->setDocument(document);
}

XmlGroup* QZGroupEditor::group() const
{
    if (!_document)
        return nullptr;
    return XmlGroup::cast(_document->currentObject().get());
}

void QZGroupEditor::loadEditor()
{
    lq::uiFrame(this, "loadEditor", [&] {
        XmlGroup* shown = group();
        if (!shown)
            return;
        description()->loadMyTextView(shown->webcontent().get());
        _groupTitle->setText(shown->content());
        _groupArray->fitMe();
    });
}

void QZGroupEditor::saveEditor()
{
    lq::uiFrame(this, "saveEditor", [&] {
        XmlGroup* shown = group();
        if (!shown)
            return;
        const SuppressedChanges quiet(*shown);
        description()->saveMyTextView(shown->webcontent().get());
        shown->setContent(_groupTitle->text());
    });
}

void QZGroupEditor::refreshEditor()
{
    lq::uiFrame(this, "refreshEditor", [&] {
        if (group())
            _groupArray->fitMe();
    });
}

int QZGroupEditor::getMenuItemState(int tag)
{
    Q_UNUSED(tag);
    return TextEditorArea::menuItemState({ description() });
}

void QZGroupEditor::menuClicked(int tag)
{
    TextEditorArea::menuClicked(tag, { description() });
}

void QZGroupEditor::enableRTL(int flag)
{
    description()->enableRTL(flag != 0);
}

XmlBasePtr QZGroupEditor::selectedPage() const
{
    XmlGroup* shown = group();
    if (!shown)
        return nullptr;
    const int index = _groupArray->selectedIndex();
    if (index < 0 || index >= shown->numberChildren())
        return nullptr;
    return shown->childAtIndex(index);
}

void QZGroupEditor::groupArrayAction()
{
    lq::uiFrame(this, "groupArrayAction:", [&] {
        auto* page = XmlWebItem::cast(selectedPage().get());
        if (!page)
            return;
        if (const std::shared_ptr<XmlPhotoRep> picture = page->rep())
            _document->setCurrentObject(picture.get());
    });
}

void QZGroupEditor::selectNewPicture()
{
    lq::uiFrame(this, "selectNewPicture:", [&] {
        const XmlBasePtr page = selectedPage();
        if (auto* album = XmlAlbum::cast(page.get())) {
            _selector->selectPicFromAlbum(album, _document->myWindow());
            _groupArray->fitMe();
        }
    });
}

QZTextEditor* QZGroupEditor::description() const
{
    return _description->editor();
}
