#pragma once
// Answering sheets as a user does: typing, pressing a button by its title,
// the default button, Return or Escape.
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

// The first push button of the view with the title, or none.
inline QPushButton* buttonTitled(QWidget* view, const QString& title)
{
    for (QPushButton* button : view->findChildren<QPushButton*>()) {
        if (button->text() == title)
            return button;
    }
    return nullptr;
}

// Clicks the sheet's button of that title; the sheet's answer.
inline int pressButton(QDialog* sheet, const QString& title)
{
    if (QPushButton* button = buttonTitled(sheet, title))
        button->click();
    return sheet->result();
}

// Shows the sheet and sends the key (Return, Escape) to it as typed; the sheet's answer.
inline int pressKey(QDialog* sheet, Qt::Key key)
{
    sheet->show();
    QWidget* target = sheet->focusWidget() ? sheet->focusWidget() : sheet;
    QTest::keyClick(target, key);
    const int answer = sheet->result();
    sheet->hide();
    return answer;
}

// Answers a sheet as a user would: types the text into its field and
// presses its default button.
inline int typeAndPressTheDefaultButton(QDialog* sheet, const QString& text)
{
    sheet->findChild<QLineEdit*>()->setText(text);
    for (QPushButton* button : sheet->findChildren<QPushButton*>()) {
        if (button->isDefault()) {
            button->click();
            break;
        }
    }
    return sheet->result();
}
