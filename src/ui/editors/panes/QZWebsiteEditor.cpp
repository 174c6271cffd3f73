#include "ui/editors/panes/QZWebsiteEditor.h"

#include "document/MyDocument.h"
#include "ui/editors/EditorHost.h"
#include "ui/editors/panes/TextEditorArea.h"
#include "ui/editors/text/TextMenuTags.h"
#include "model/core/SuppressedChanges.h"
#include "model/site/XmlFooter.h"
#include "model/site/XmlHomePage.h"
#include "model/site/XmlMasthead.h"
#include "model/site/XmlSite.h"
#include "model/site/XmlWebItem.h"
#include "platform/ExceptionFrame.h"
#include "ui/widgets/ActionConnection.h"
#include "ui/widgets/MyButton.h"
#include "ui/widgets/MyTableView.h"
#include "ui/widgets/MyTextField.h"
#include "ui/widgets/ScreenText.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QVBoxLayout>

#include <typeinfo>

const QStringList QZWebsiteEditor::pageKindTitles { QStringLiteral("None"), QStringLiteral("Link To:"),
                                                    QStringLiteral("Password:") };

namespace {

const QString pageColumn = QStringLiteral("page");
const QString showColumn = QStringLiteral("show");
const QString saveAsColumn = QStringLiteral("saveas");
const QString linkColumn = QStringLiteral("link");
const QString externalLinkColumn = QStringLiteral("externallink");

} // namespace

QZWebsiteEditor::QZWebsiteEditor(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("QZWebsiteEditor"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(4, 4, 4, 4);
    column->addWidget(buildMastheadGroup());

    QZTextEditor::ControlOptions footerOptions;
    footerOptions.kindButtons = false;
    footerOptions.kindPopUp = false;
    _footer = new TextEditorArea(QStringLiteral("Footer"), footerOptions, this);
    column->addWidget(_footer, 2);
    column->addWidget(buildPagesGroup(), 3);
    column->addWidget(buildPasswordGroup());

    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    auto* html = new MyButton(0, QStringLiteral("Edit HTML..."), this);
    html->setToolTip(QStringLiteral("Edits the HTML, description, keywords and language of every page"));
    lq::connectAction(html, &QPushButton::clicked, this, "addHTML:", [this] { addHTML(); });
    bottom->addWidget(html);
    column->addLayout(bottom);
}

QZWebsiteEditor::~QZWebsiteEditor()
{
    // The table asks its source (this pane) while it goes.
    delete _navTable;
}

QWidget* QZWebsiteEditor::buildMastheadGroup()
{
    auto* group = new QGroupBox(QStringLiteral("Masthead"), this);
    auto* form = new QFormLayout(group);
    _masthead = new MyTextField(0, group);
    _masthead->setToolTip(QStringLiteral("The site's name as the masthead of every page shows it"));
    _mastheadLink = new MyTextField(0, group);
    _mastheadLink->setPlaceholderText(QStringLiteral("http://"));
    _mastheadLink->setToolTip(QStringLiteral("Where a click on the masthead leads"));
    form->addRow(lq::plainLabel(QStringLiteral("Text")), _masthead);
    form->addRow(lq::plainLabel(QStringLiteral("Link")), _mastheadLink);
    for (MyTextField* field : { _masthead, _mastheadLink })
        lq::connectAction(field, &QLineEdit::textEdited, this, "controlTextDidChange:", [this] { markChanged(); });
    return group;
}

QWidget* QZWebsiteEditor::buildPagesGroup()
{
    auto* group = new QGroupBox(QStringLiteral("Pages"), this);
    auto* column = new QVBoxLayout(group);
    _navTable = new MyTableView(0, group);
    _navTable->setDragEnabled(false);
    _navTable->setDragDropMode(QAbstractItemView::NoDragDrop);
    _navTable->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked
                               | QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    _navTable->setDataSource(this, {
        { pageColumn, QStringLiteral("Page"), TableColumn::Kind::Text, true, {} },
        { showColumn, QStringLiteral("Menu"), TableColumn::Kind::Check, true, {} },
        { saveAsColumn, QStringLiteral("File Name"), TableColumn::Kind::Text, true, {} },
        { linkColumn, QStringLiteral("Kind"), TableColumn::Kind::PopUp, true, pageKindTitles },
        { externalLinkColumn, QStringLiteral("Address or Password"), TableColumn::Kind::Text, true, {} },
    });
    _navTable->verticalHeader()->hide();
    _navTable->horizontalHeader()->setStretchLastSection(true);
    _navTable->setColumnWidth(0, 160);
    _navTable->setColumnWidth(1, 50);
    _navTable->setColumnWidth(2, 140);
    _navTable->setColumnWidth(3, 100);
    _navTable->setToolTip(QStringLiteral("Double-click a cell to change it"));
    column->addWidget(_navTable);
    return group;
}

QWidget* QZWebsiteEditor::buildPasswordGroup()
{
    auto* group = new QGroupBox(QStringLiteral("Password-protected pages"), this);
    auto* form = new QFormLayout(group);
    _passPhrase = new MyTextField(0, group);
    _passPhrase->setToolTip(QStringLiteral("What a protected page asks its visitor"));
    _passSubmit = new MyTextField(0, group);
    _passSubmit->setToolTip(QStringLiteral("The label of the button that sends the password"));
    form->addRow(lq::plainLabel(QStringLiteral("Pass phrase")), _passPhrase);
    form->addRow(lq::plainLabel(QStringLiteral("Submit button")), _passSubmit);
    // Stored when the pane is saved, which marks nothing: typing does.
    for (MyTextField* field : { _passPhrase, _passSubmit })
        lq::connectAction(field, &QLineEdit::textEdited, this, "controlTextDidChange:", [this] { markChanged(); });
    return group;
}

// --- Editor panel --------------------------------------------------------------------------------

void QZWebsiteEditor::setDocument(EditorHost* document)
{
    _document = document;
    _footer->setHost(document);
}

XmlHomePage* QZWebsiteEditor::homepage() const
{
    if (!_document)
        return nullptr;
    const std::shared_ptr<XmlBase> current = _document->currentObject();
    return current && typeid(*current) == typeid(XmlHomePage) ? static_cast<XmlHomePage*>(current.get()) : nullptr;
}

void QZWebsiteEditor::loadEditor()
{
    lq::uiFrame(this, "loadEditor", [&] {
        XmlHomePage* home = homepage();
        if (!home)
            return;
        footer()->loadMyTextView(home->footer().get());
        _masthead->setText(home->masthead()->content());
        _mastheadLink->setText(home->masthead()->linkTo());
        _passPhrase->setText(home->passPhrase());
        _passSubmit->setText(home->submitLabel());
        reloadTable();
    });
}

void QZWebsiteEditor::saveEditor()
{
    lq::uiFrame(this, "saveEditor", [&] {
        XmlHomePage* home = homepage();
        if (!home)
            return;
        const SuppressedChanges quiet(*home);
        footer()->saveMyTextView(home->footer().get());
        home->masthead()->setContent(_masthead->text());
        home->masthead()->setLinkTo(_mastheadLink->text());
        home->setPassPhrase(_passPhrase->text());
        home->setSubmitLabel(_passSubmit->text());
        // The standard phrase follows a new label: the field shows what is stored.
        if (_passPhrase->text() != home->passPhrase())
            _passPhrase->setText(home->passPhrase());
    });
}

void QZWebsiteEditor::refreshEditor()
{
    lq::uiFrame(this, "refreshEditor", [&] {
        // A cell being edited is kept while the pages stay the same.
        if (homepage() && !_rows.holds(webItems()))
            reloadTable();
    });
}

int QZWebsiteEditor::getMenuItemState(int tag)
{
    const bool style = tag == TextMenuTag::bold || tag == TextMenuTag::italic || tag == TextMenuTag::underline;
    return style ? TextEditorArea::menuItemState({ footer() }) : -1;
}

void QZWebsiteEditor::menuClicked(int tag)
{
    if (tag == TextMenuTag::bold || tag == TextMenuTag::italic || tag == TextMenuTag::underline)
        footer()->menuCommand(tag);
}

void QZWebsiteEditor::enableRTL(int flag)
{
    footer()->enableRTL(flag != 0);
}

void QZWebsiteEditor::addHTML()
{
    if (_document)
        _document->switchToHTMLEditor();
}

void QZWebsiteEditor::markChanged()
{
    if (_document)
        _document->document().updateChangeCount(DocumentBase::ChangeDone);
}

// --- The pages table -----------------------------------------------------------------------------

XmlBaseList QZWebsiteEditor::webItems() const
{
    return lq::uiFrame(this, "webItems", [&] {
        return _document ? _document->document().webItems() : XmlBaseList();
    });
}

void QZWebsiteEditor::reloadTable()
{
    _rows.reset(webItems());
    _navTable->reloadData();
}

XmlWebItem* QZWebsiteEditor::page(const void* item) const
{
    return XmlWebItem::cast(_rows.element(item).get());
}

XmlWebItem* QZWebsiteEditor::pageAtRow(int row) const
{
    return page(_rows.item(row));
}

int QZWebsiteEditor::numberOfChildrenOfItem(const void* item) const
{
    return item ? 0 : _rows.count();
}

void* QZWebsiteEditor::childOfItem(int index, const void* item) const
{
    return item ? nullptr : _rows.item(index);
}

QVariant QZWebsiteEditor::objectValueForColumn(const QString& column, const void* item) const
{
    return lq::uiFrame(this, "tableView:objectValueForTableColumn:row:", [&]() -> QVariant {
        XmlWebItem* shown = page(item);
        if (!shown)
            return QVariant();
        const bool external = shown->isExternalLink();
        if (column == pageColumn)
            return shown->name();
        if (column == showColumn)
            return shown->showInNav() ? 1 : 0;
        if (column == saveAsColumn)
            return external ? QString() : shown->fileName();
        if (column == linkColumn)
            return external ? LinkPage : shown->isPassword() ? PasswordPage : NormalPage;
        if (column == externalLinkColumn) {
            if (!external && shown->isPassword())
                return shown->password();
            return shown->canEditLink() ? shown->externalLink() : QString();
        }
        return QVariant();
    });
}

bool QZWebsiteEditor::shouldEditColumn(const QString& column, const void* item) const
{
    return lq::uiFrame(this, "tableView:shouldEditTableColumn:row:", [&] {
        XmlWebItem* shown = page(item);
        if (!shown)
            return false;
        if (column == pageColumn || column == showColumn || column == linkColumn)
            return true;
        if (column == saveAsColumn)
            return !shown->isExternalLink() && shown->canEditFileName();
        // A normal page has neither an address nor a password to type.
        if (column == externalLinkColumn)
            return shown->isExternalLink() || shown->isPassword();
        return false;
    });
}

void QZWebsiteEditor::willDisplayCell(CellAppearance& cell, const QString& column, const void* item) const
{
    if (!shouldEditColumn(column, item))
        cell.textColour = QColor(Qt::darkGray);
}

bool QZWebsiteEditor::setObjectValueForColumn(const QVariant& value, const QString& column, void* item)
{
    return lq::uiFrame(this, "tableView:setObjectValue:forTableColumn:row:", [&] {
        XmlWebItem* edited = page(item);
        if (!edited)
            return false;
        if (column == pageColumn) {
            edited->setName(value.toString());
            _document->updateNavEditor();
        } else if (column == showColumn) {
            edited->setShowInNav(value.toInt() != 0);
            markChanged();
        } else if (column == saveAsColumn) {
            if (!shouldEditColumn(column, item))
                return false;
            XmlHomePage* home = edited->homepage();
            if (!home)
                return false;
            edited->setFileName(home->validatedFileNameForItem(value.toString(), edited));
            markChanged();
            _document->updateNavEditor();
        } else if (column == linkColumn) {
            const int kind = value.toInt();
            edited->setIsExternalLink(kind == LinkPage && edited->canEditLink());
            edited->setIsPassword(kind == PasswordPage);
            // The row's other cells follow the kind.
            QMetaObject::invokeMethod(this, [this] { _navTable->reloadData(); }, Qt::QueuedConnection);
        } else if (column == externalLinkColumn) {
            if (edited->isExternalLink()) {
                edited->setExternalLink(value.toString());
                markChanged();
            } else if (edited->isPassword()) {
                edited->setPassword(value.toString());
            } else {
                return false;
            }
        } else {
            return false;
        }
        return true;
    });
}

QZTextEditor* QZWebsiteEditor::footer() const
{
    return _footer->editor();
}
