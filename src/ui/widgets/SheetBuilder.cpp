#include "ui/widgets/SheetBuilder.h"

#include "platform/ExceptionFrame.h"
#include "ui/widgets/MyButton.h"
#include "ui/widgets/MyCheckBox.h"
#include "ui/widgets/MyColorWell.h"
#include "ui/widgets/ControlValues.h"
#include "ui/widgets/MyImageView.h"
#include "ui/widgets/MyIntegerField.h"
#include "ui/widgets/MyLabel.h"
#include "ui/widgets/MyMatrix.h"
#include "ui/widgets/MyPopUpButton.h"
#include "ui/widgets/MyRadioButton.h"
#include "ui/widgets/MySlider.h"
#include "ui/widgets/MyStepper.h"
#include "ui/widgets/MyTextField.h"
#include "ui/widgets/ScreenText.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPointer>
#include <QPushButton>

SheetBuilder::SheetBuilder(QWidget* container, QObject* controller, Action action)
    : _container(container)
    , _controller(controller)
    , _action(std::move(action))
    , _form(qobject_cast<QFormLayout*>(container->layout()))
{
    if (!_form && !container->layout())
        _form = new QFormLayout(container);
    if (!_form) {
        // The container already has another layout: the form goes inside it.
        auto* holder = new QWidget(container);
        _form = new QFormLayout(holder);
        container->layout()->addWidget(holder);
    }
}

SheetBuilder& SheetBuilder::label(const QString& text, int tag)
{
    _nextLabel = text;
    _nextLabelTag = tag;
    return *this;
}

SheetBuilder& SheetBuilder::beginRow()
{
    endRow();
    auto* row = new QWidget(_container);
    row->setProperty(lq::rowHolderProperty, true);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    addRow(row);
    _row = row;
    return *this;
}

SheetBuilder& SheetBuilder::endRow()
{
    if (_row)
        static_cast<QHBoxLayout*>(_row->layout())->addStretch(1);
    _row = nullptr;
    return *this;
}

SheetBuilder SheetBuilder::group(const QString& title)
{
    auto* box = new QGroupBox(title, _container);
    addRow(box);
    return SheetBuilder(box, _controller, _action);
}

QWidget* SheetBuilder::view(QWidget* view)
{
    addRow(view);
    return view;
}

void SheetBuilder::addRow(QWidget* control)
{
    if (_row) {
        control->setParent(_row);
        _row->layout()->addWidget(control);
        return;
    }
    if (_nextLabelTag != 0) {
        auto* label = new MyLabel(_nextLabelTag, _nextLabel, _container);
        label->localize();
        _form->addRow(label, control);
    } else if (_nextLabel.isEmpty()) {
        _form->addRow(control);
    } else {
        _form->addRow(lq::plainLabel(_nextLabel, _container), control);
    }
    _nextLabel.clear();
    _nextLabelTag = 0;
}

SheetBuilder::Action SheetBuilder::firer() const
{
    // The connections keep their own copy: the builder is usually gone
    // (a local of the panel's constructor) when the controls are used. A
    // control that outlives its controller (a field left as its window is
    // taken down) no longer calls it.
    return [controller = QPointer<QObject>(_controller), hadController = _controller != nullptr, action = _action](QWidget* sender) {
        if (action && (controller || !hadController))
            lq::uiFrame(controller.data(), "action", [&] { action(sender); });
    };
}

MyButton* SheetBuilder::button(int tag, const QString& title)
{
    auto* control = new MyButton(tag, title, _container);
    QObject::connect(control, &QPushButton::clicked, control, [fire = firer(), control] { fire(control); });
    addRow(control);
    control->localize();
    return control;
}

MyCheckBox* SheetBuilder::check(int tag, const QString& title)
{
    auto* control = new MyCheckBox(tag, title, _container);
    QObject::connect(control, &QCheckBox::clicked, control, [fire = firer(), control] { fire(control); });
    addRow(control);
    control->localize();
    return control;
}

MyRadioButton* SheetBuilder::radio(int tag, const QString& title)
{
    auto* control = new MyRadioButton(tag, title, _container);
    QObject::connect(control, &QRadioButton::clicked, control, [fire = firer(), control] { fire(control); });
    addRow(control);
    control->localize();
    return control;
}

MyTextField* SheetBuilder::textField(int tag, const QString& text)
{
    auto* control = new MyTextField(tag, _container);
    control->setText(text);
    QObject::connect(control, &QLineEdit::editingFinished, control, [fire = firer(), control] { fire(control); });
    addRow(control);
    control->localize();
    return control;
}

MyLabel* SheetBuilder::text(int tag, const QString& text)
{
    auto* control = new MyLabel(tag, text, _container);
    addRow(control);
    control->localize();
    return control;
}

MyIntegerField* SheetBuilder::intField(int tag, int minimum, int maximum)
{
    auto* control = new MyIntegerField(tag, minimum, maximum, _container);
    QObject::connect(control, &MyIntegerField::valueChanged, control, [fire = firer(), control] { fire(control); });
    addRow(control);
    control->localize();
    return control;
}

MyIntegerField* SheetBuilder::intPair(int tag, int minimum, int maximum, int increment)
{
    auto* pair = new QWidget(_container);
    pair->setProperty(lq::rowHolderProperty, true);
    auto* row = new QHBoxLayout(pair);
    row->setContentsMargins(0, 0, 0, 0);
    auto* field = new MyIntegerField(tag, minimum, maximum, pair);
    auto* arrows = new MyStepper(tag + 1, minimum, maximum, increment, pair);
    arrows->showArrowsOnly();
    arrows->setValue(field->intValue());
    // Wide enough for six digits: numbers, not text, go in it.
    field->setMaximumWidth(field->fontMetrics().horizontalAdvance(QStringLiteral("0000000")) + 12);
    row->addWidget(field);
    row->addWidget(arrows);
    row->addStretch(1);
    QObject::connect(field, &MyIntegerField::valueChanged, arrows, [fire = firer(), field, arrows](int value) {
        const QSignalBlocker quiet(arrows);
        arrows->setValue(value);
        fire(field);
    });
    QObject::connect(arrows, &QSpinBox::valueChanged, field, [fire = firer(), field](int value) {
        field->setIntValue(value);
        fire(field);
    });
    addRow(pair);
    field->localize();
    arrows->localize();
    return field;
}

MyPopUpButton* SheetBuilder::popUp(int tag, const TaggedItems& items)
{
    auto* control = new MyPopUpButton(tag, _container);
    for (const auto& [title, itemTag] : items)
        control->addItemWithTag(title, itemTag);
    QObject::connect(control, &QComboBox::activated, control, [fire = firer(), control] { fire(control); });
    addRow(control);
    control->localize();
    return control;
}

MySlider* SheetBuilder::slider(int tag, int minimum, int maximum)
{
    auto* control = new MySlider(tag, minimum, maximum, _container);
    QObject::connect(control, &QSlider::valueChanged, control, [fire = firer(), control] { fire(control); });
    addRow(control);
    control->localize();
    return control;
}

MyStepper* SheetBuilder::stepper(int tag, int minimum, int maximum, int increment)
{
    auto* control = new MyStepper(tag, minimum, maximum, increment, _container);
    QObject::connect(control, &QSpinBox::valueChanged, control, [fire = firer(), control] { fire(control); });
    addRow(control);
    control->localize();
    return control;
}

MyColorWell* SheetBuilder::colorWell(int tag)
{
    auto* control = new MyColorWell(tag, _container);
    QObject::connect(control, &MyColorWell::colorChanged, control, [fire = firer(), control] { fire(control); });
    addRow(control);
    control->localize();
    return control;
}

MyImageView* SheetBuilder::imageView(int tag)
{
    auto* control = new MyImageView(tag, _container);
    addRow(control);
    control->localize();
    return control;
}

MyMatrix* SheetBuilder::matrix(int tag, const TaggedItems& cells)
{
    auto* control = new MyMatrix(tag, Qt::Vertical, _container);
    for (const auto& [title, cellTag] : cells)
        control->addCell(title, cellTag);
    QObject::connect(control, &MyMatrix::selectionChanged, control, [fire = firer(), control] { fire(control); });
    addRow(control);
    control->localize();
    return control;
}

QList<MyButton*> SheetBuilder::buttonRow(const QList<RowButton>& buttons)
{
    auto* row = new QWidget(_container);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    QList<MyButton*> made;
    for (const RowButton& button : buttons) {
        if (button.title.isEmpty()) {
            layout->addStretch();
            continue;
        }
        auto* control = new MyButton(0, button.title, row);
        QObject::connect(control, &QPushButton::clicked, control, [controller = _controller, action = button.action] {
            if (action)
                lq::uiFrame(controller, "action", [&] { action(); });
        });
        layout->addWidget(control);
        made.append(control);
    }
    addRow(row);
    return made;
}

QDialogButtonBox* SheetBuilder::sheetButtons(QDialog* sheet, const QString& acceptTitle)
{
    auto* box = new QDialogButtonBox(_container);
    QPushButton* accept = box->addButton(acceptTitle, QDialogButtonBox::AcceptRole);
    box->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    accept->setDefault(true);
    QObject::connect(box, &QDialogButtonBox::accepted, sheet, [sheet] { sheet->done(1); });
    QObject::connect(box, &QDialogButtonBox::rejected, sheet, [sheet] { sheet->done(0); });
    addRow(box);
    return box;
}
