#include "ui/editors/panes/QZPayPalEditor.h"

#include "document/MyDocument.h"
#include "ui/editors/EditorHost.h"
#include "model/core/SuppressedChanges.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlHomePage.h"
#include "model/site/XmlPayPalCommon.h"
#include "model/site/XmlPayPalData.h"
#include "model/site/XmlPhoto.h"
#include "platform/ExceptionFrame.h"
#include "ui/widgets/ActionConnection.h"
#include "ui/widgets/MyButton.h"
#include "ui/widgets/MyPopUpButton.h"
#include "ui/widgets/MyTableView.h"
#include "ui/widgets/MyTextField.h"
#include "ui/widgets/ScreenText.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QVBoxLayout>

const QStringList QZPayPalEditor::weightTitles { QStringLiteral("Pounds"), QStringLiteral("Kilograms") };

namespace {

const QString itemColumn = QStringLiteral("Item");

// The item's text fields by column: reading and storing.
struct ItemField {
    QString column;
    QString title;
    const QString& (XmlPayPalData::*get)() const;
    void (XmlPayPalData::*set)(const QString&);
};

const std::array<ItemField, 6>& itemFields()
{
    static const std::array<ItemField, 6> fields { {
        { QStringLiteral("ID"), QStringLiteral("Item Number"), &XmlPayPalData::itemid, &XmlPayPalData::setItemid },
        { QStringLiteral("Name"), QStringLiteral("Name"), &XmlPayPalData::itemname, &XmlPayPalData::setItemname },
        { QStringLiteral("Price"), QStringLiteral("Price"), &XmlPayPalData::price, &XmlPayPalData::setPrice },
        { QStringLiteral("Weight"), QStringLiteral("Weight"), &XmlPayPalData::weight, &XmlPayPalData::setWeight },
        { QStringLiteral("Shipping"), QStringLiteral("Shipping"), &XmlPayPalData::shipping, &XmlPayPalData::setShipping },
        { QStringLiteral("Tax"), QStringLiteral("Tax"), &XmlPayPalData::salestax, &XmlPayPalData::setSalestax },
    } };
    return fields;
}

const ItemField* fieldOfColumn(const QString& column)
{
    for (const ItemField& field : itemFields()) {
        if (field.column == column)
            return &field;
    }
    return nullptr;
}

// The thumbnails show at most this high in the table.
constexpr int thumbnailHeight = 48;

} // namespace

const QStringList& QZPayPalEditor::currencyTitles()
{
    static const QStringList titles {
        QStringLiteral("U.S. Dollar"),       QStringLiteral("Australian Dollar"), QStringLiteral("Pound Sterling"),
        QStringLiteral("Canadian Dollar"),   QStringLiteral("Czech Koruna"),      QStringLiteral("Danish Krone"),
        QStringLiteral("Euro"),              QStringLiteral("Hong Kong Dollar"),  QStringLiteral("Hungarian Forint"),
        QStringLiteral("Israeli Shekel"),    QStringLiteral("Japanese Yen"),      QStringLiteral("Mexican Peso"),
        QStringLiteral("New Zealand Dollar"), QStringLiteral("Norwegian Krone"),  QStringLiteral("Polish Zloty"),
        QStringLiteral("Singapore Dollar"),  QStringLiteral("Swedish Krona"),     QStringLiteral("Swiss Franc"),
    };
    return titles;
}

QZPayPalEditor::QZPayPalEditor(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("QZPayPalEditor"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(4, 4, 4, 4);

    auto* top = new QHBoxLayout;
    auto* back = new MyButton(0, QStringLiteral("Album Page"), this);
    back->setToolTip(QStringLiteral("Back to the page's title, text and captions"));
    lq::connectAction(back, &QPushButton::clicked, this, "backToContent:", [this] { backToContent(); });
    top->addWidget(back);
    top->addStretch(1);
    column->addLayout(top);

    auto* form = new QFormLayout;
    _account = new MyTextField(0, this);
    _account->setPlaceholderText(QStringLiteral("The e-mail address of your PayPal account"));
    lq::connectAction(_account, &QLineEdit::textEdited, this, "controlTextDidChange:", [this] { markChanged(); });
    _currency = new MyPopUpButton(0, this);
    const QStringList& codes = XmlPayPalCommon::currencyCodes();
    for (int tag = 0; tag < codes.size(); ++tag)
        _currency->addItemWithTag(currencyTitles().value(tag) + QStringLiteral(" (") + codes[tag] + QStringLiteral(")"), tag);
    lq::connectAction(_currency, &QComboBox::activated, this, "changeCurrency:", [this] { markChanged(); });
    _weight = new MyPopUpButton(0, this);
    _weight->addItems(weightTitles);
    lq::connectAction(_weight, &QComboBox::activated, this, "changeWeight:", [this] { markChanged(); });
    form->addRow(lq::plainLabel(QStringLiteral("PayPal account")), _account);
    form->addRow(lq::plainLabel(QStringLiteral("Currency")), _currency);
    form->addRow(lq::plainLabel(QStringLiteral("Weight unit")), _weight);
    column->addLayout(form);

    auto* hint = lq::plainLabel(QStringLiteral("A photo can be bought once it has a name and a price."), this);
    column->addWidget(hint);
    _details = new MyTableView(0, this);
    _details->setDragEnabled(false);
    _details->setDragDropMode(QAbstractItemView::NoDragDrop);
    _details->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked
                              | QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    QList<TableColumn> columns { { itemColumn, QStringLiteral("Item"), TableColumn::Kind::Image, false, {} } };
    for (const ItemField& field : itemFields())
        columns.append({ field.column, field.title, TableColumn::Kind::Text, true, {} });
    _details->setDataSource(this, columns);
    _details->verticalHeader()->hide();
    _details->verticalHeader()->setDefaultSectionSize(thumbnailHeight + 8);
    _details->setIconSize(QSize(thumbnailHeight * 2, thumbnailHeight));
    _details->setColumnWidth(0, thumbnailHeight * 2 + 12);
    // The item's name takes the room left.
    _details->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
    column->addWidget(_details, 1);
}

QZPayPalEditor::~QZPayPalEditor()
{
    // The table asks its source (this pane) while it goes.
    delete _details;
}

XmlAlbum* QZPayPalEditor::getAlbum() const
{
    return _document ? XmlAlbum::cast(_document->currentObject().get()) : nullptr;
}

XmlPayPalCommon* QZPayPalEditor::common() const
{
    XmlAlbum* album = getAlbum();
    XmlHomePage* home = album ? album->homepage() : nullptr;
    return home ? home->paypal().get() : nullptr;
}

void QZPayPalEditor::loadEditor()
{
    lq::uiFrame(this, "loadEditor", [&] {
        XmlPayPalCommon* settings = common();
        if (!settings)
            return;
        _account->setText(settings->paypaladdress());
        _currency->selectItemWithTag(settings->currencyTag());
        const int unit = settings->weightunit();
        _weight->setCurrentIndex(unit == 0 ? 0 : 1);
        _rows.reset(getAlbum()->photoObjects());
        _details->reloadData();
    });
}

void QZPayPalEditor::saveEditor()
{
    lq::uiFrame(this, "saveEditor", [&] {
        XmlPayPalCommon* settings = common();
        if (!settings)
            return;
        const SuppressedChanges quiet(*settings);
        settings->setPaypaladdress(_account->text());
        settings->setCurrencyTag(_currency->selectedTag());
        settings->setWeightunit(_weight->currentIndex());
    });
}

void QZPayPalEditor::backToContent()
{
    if (_document)
        _document->switchToRegularEditor();
}

void QZPayPalEditor::markChanged()
{
    if (_document)
        _document->document().updateChangeCount(DocumentBase::ChangeDone);
}

// --- The photos table -------------------------------------------------------------------------

XmlPhoto* QZPayPalEditor::photo(const void* item) const
{
    // A row of a page that is no longer shown holds nothing.
    XmlPhoto* shown = XmlPhoto::cast(_rows.element(item).get());
    return shown && getAlbum() && shown->parent() == getAlbum() ? shown : nullptr;
}

XmlPhoto* QZPayPalEditor::photoAtRow(int row) const
{
    return photo(_rows.item(row));
}

int QZPayPalEditor::numberOfChildrenOfItem(const void* item) const
{
    return item || !getAlbum() ? 0 : _rows.count();
}

void* QZPayPalEditor::childOfItem(int index, const void* item) const
{
    return item ? nullptr : _rows.item(index);
}

QVariant QZPayPalEditor::objectValueForColumn(const QString& column, const void* item) const
{
    return lq::uiFrame(this, "tableView:objectValueForTableColumn:row:", [&]() -> QVariant {
        XmlPhoto* shown = photo(item);
        if (!shown)
            return QVariant();
        if (column == itemColumn) {
            const QImage thumbnail = shown->thumbnail().toQImage();
            return thumbnail.isNull() ? QVariant() : QVariant(thumbnail.scaledToHeight(thumbnailHeight, Qt::SmoothTransformation));
        }
        const ItemField* field = fieldOfColumn(column);
        if (!field || !shown->paypal())
            return QVariant();
        return (shown->paypal().get()->*field->get)();
    });
}

bool QZPayPalEditor::setObjectValueForColumn(const QVariant& value, const QString& column, void* item)
{
    return lq::uiFrame(this, "tableView:setObjectValue:forTableColumn:row:", [&] {
        XmlPhoto* edited = photo(item);
        const ItemField* field = fieldOfColumn(column);
        if (!edited || !field || !edited->paypal())
            return false;
        (edited->paypal().get()->*field->set)(value.toString());
        return true;
    });
}

bool QZPayPalEditor::shouldEditColumn(const QString& column, const void* item) const
{
    return column != itemColumn;
}
