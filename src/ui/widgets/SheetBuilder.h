#pragma once
// Builds a sheet or panel one line per control: each call makes the tagged
// control, puts it in the next row of the form, localises it and connects it
// to the controller's action, which gets the control as its sender.
//
//     SheetBuilder b(sheet, this, [this](QWidget* sender) { controlChanged(sender); });
//     b.intPair(211, 1, 200);
//     b.colorWell(213);
//     b.check(214, "Show captions");
#include <QString>
#include <QStringList>
#include <QList>
#include <QPair>

#include <functional>

class MyButton;
class MyCheckBox;
class MyColorWell;
class MyImageView;
class MyIntegerField;
class MyLabel;
class MyMatrix;
class MyPopUpButton;
class MyRadioButton;
class MySlider;
class MyStepper;
class MyTextField;
class QDialog;
class QDialogButtonBox;
class QFormLayout;
class QObject;
class QWidget;

class SheetBuilder {
public:
    using Action = std::function<void(QWidget* sender)>;
    using TaggedItems = QList<QPair<QString, int>>;   // title and tag

    // Adds the rows to the container (given a form layout when it has none).
    // The controller is the object the action frames log as.
    SheetBuilder(QWidget* container, QObject* controller, Action action);

    // The label of the next row ("" for none); with a tag, the label is a
    // tagged text (MyLabel) that can be found, changed and hidden.
    SheetBuilder& label(const QString& text, int tag = 0);

    // The controls made until endRow stand side by side in one row (under
    // the label given before beginRow).
    SheetBuilder& beginRow();
    SheetBuilder& endRow();
    // A box with a title as the next row; its rows are made with the builder
    // answered, which sends the same action.
    SheetBuilder group(const QString& title);
    // A view made elsewhere (a picture well, a table, a text view) as the next row.
    QWidget* view(QWidget* view);

    MyButton* button(int tag, const QString& title);
    MyCheckBox* check(int tag, const QString& title);
    MyRadioButton* radio(int tag, const QString& title);
    MyTextField* textField(int tag, const QString& text = QString());
    MyLabel* text(int tag, const QString& text);
    MyIntegerField* intField(int tag, int minimum, int maximum);
    // An integer field and a stepper beside it (tag + 1), kept in step.
    MyIntegerField* intPair(int tag, int minimum, int maximum, int increment = 1);
    MyPopUpButton* popUp(int tag, const TaggedItems& items);
    MySlider* slider(int tag, int minimum, int maximum);
    MyStepper* stepper(int tag, int minimum, int maximum, int increment = 1);
    MyColorWell* colorWell(int tag);
    MyImageView* imageView(int tag);
    MyMatrix* matrix(int tag, const TaggedItems& cells);

    // One button of a row: its title and what it does (in the controller's
    // frame). An entry without a title is the gap that pushes the rest right.
    struct RowButton {
        QString title;
        std::function<void()> action;
    };
    // A row of untagged buttons, left to right; answers them in order (the gaps left out).
    QList<MyButton*> buttonRow(const QList<RowButton>& buttons);
    // The buttons that end a sheet: the accepting one (the default, also on
    // Return) ends it with 1, Cancel (also on Escape) with 0.
    QDialogButtonBox* sheetButtons(QDialog* sheet, const QString& acceptTitle = QStringLiteral("OK"));

    QFormLayout* form() const { return _form; }
    // The view the rows go into (for a group, its box).
    QWidget* container() const { return _container; }

private:
    void addRow(QWidget* control);
    // The action as the controls call it, independent of the builder.
    Action firer() const;

    QWidget* _container;
    QObject* _controller;
    Action _action;
    QFormLayout* _form;
    QString _nextLabel;
    int _nextLabelTag = 0;
    QWidget* _row = nullptr;
};
