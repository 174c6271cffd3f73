#pragma once
// The user's hands on a sheet that a scripted modal handler hands a test:
// the three ways a sheet ends (Return on a field, which presses the default
// button; Escape; the Cancel button).
#include <QComboBox>
#include <QDialog>
#include <QPushButton>
#include <QTest>
#include <QWidget>

enum class Ending { Return, Escape, CancelButton };

inline const char* endingName(Ending ending)
{
    switch (ending) {
    case Ending::Return: return "Return";
    case Ending::Escape: return "Escape";
    case Ending::CancelButton: return "Cancel button";
    }
    return "";
}

// Ends the shown sheet with the keys on the field (any control of the sheet
// with the focus), or with its Cancel button.
inline void endSheet(QDialog* sheet, QWidget* field, Ending ending)
{
    switch (ending) {
    case Ending::Return: QTest::keyClick(field, Qt::Key_Return); break;
    case Ending::Escape: QTest::keyClick(field, Qt::Key_Escape); break;
    case Ending::CancelButton: {
        for (QPushButton* button : sheet->findChildren<QPushButton*>()) {
            if (button->text() == QStringLiteral("Cancel"))
                button->click();
        }
        break;
    }
    }
}

// Presses the sheet's default button (its OK).
inline void pressDefaultButton(QDialog* sheet)
{
    for (QPushButton* button : sheet->findChildren<QPushButton*>()) {
        if (button->isDefault()) {
            button->click();
            return;
        }
    }
}

// Chooses the pop-up's item as the user does: the item, then its activation.
inline void choosePopUpItem(QComboBox* popUp, int index)
{
    popUp->setCurrentIndex(index);
    Q_EMIT popUp->activated(index);
}
