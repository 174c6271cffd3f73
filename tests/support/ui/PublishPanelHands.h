#pragma once

// A user's hands on the publish panel: its controls by tag, the server
// type's tabs, text typed key by key.
#include "ui/app/ExportController.h"
#include "ui/widgets/ControlTags.h"
#include "ui/widgets/MyPopUpButton.h"
#include "ui/widgets/MyTabView.h"
#include "ui/widgets/MyTextField.h"

#include <QApplication>
#include <QTabBar>
#include <QTest>

#include <gtest/gtest.h>

template <typename T>
T* publishControl(ExportController& panel, int tag)
{
    return qobject_cast<T*>(lq::viewWithTag(panel.exportview(), tag));
}

inline QString publishFieldText(ExportController& panel, int tag)
{
    return publishControl<MyTextField>(panel, tag)->text();
}

// Types into the field as a user does: what it held selected and replaced,
// key by key; then Return unless `leave` is false (the field keeps the focus).
inline void typeIntoPublishField(ExportController& panel, int tag, const QString& text, bool leave = true)
{
    auto* field = publishControl<MyTextField>(panel, tag);
    ASSERT_NE(field, nullptr) << tag;
    field->setFocus();
    field->selectAll();
    if (text.isEmpty())
        QTest::keyClick(field, Qt::Key_Delete);
    else
        QTest::keyClicks(field, text);
    if (leave)
        QTest::keyClick(field, Qt::Key_Return);
    QApplication::processEvents();
}

// Clicks the server type's tab.
inline void clickServerTab(ExportController& panel, const char* identifier)
{
    QTabBar* bar = panel.exportTab()->tabBar();
    const int index = panel.exportTab()->indexOfTabViewItemWithIdentifier(QString::fromLatin1(identifier));
    ASSERT_GE(index, 0) << identifier;
    ASSERT_TRUE(bar->isTabVisible(index)) << identifier;
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
    ASSERT_EQ(panel.exportTab()->selectedIdentifier(), QString::fromLatin1(identifier));
}

// Chooses the item of the pop-up as a click on it does.
inline void choosePublishItem(ExportController& panel, int tag, int index)
{
    auto* popUp = publishControl<MyPopUpButton>(panel, tag);
    ASSERT_NE(popUp, nullptr) << tag;
    popUp->setCurrentIndex(index);
    Q_EMIT popUp->activated(index);
    QApplication::processEvents();
}
