#pragma once
#include "ui/widgets/MyTabViewItem.h"

#include <QTabWidget>

#include <memory>
#include <vector>

// Tabs addressed by their items' identifiers. Items stay with the tab view
// while they are removed from the tabs (so they can be inserted again), and
// an item's view can be swapped while it is shown.
class MyTabView : public QTabWidget {
    Q_OBJECT
public:
    explicit MyTabView(QWidget* parent = nullptr);
    ~MyTabView() override;

    MyTabViewItem* addTabViewItem(const QString& identifier, const QString& label, QWidget* view);
    // The item of the identifier, shown or not; nullptr when there is none.
    MyTabViewItem* tabViewItemWithIdentifier(const QString& identifier) const;
    // The tab index of the identifier's item, or -1 when it is not shown.
    int indexOfTabViewItemWithIdentifier(const QString& identifier) const;
    // Takes the item's tab away; the item and its view stay.
    void removeTabViewItem(const QString& identifier);
    // Shows a removed item again at the index (the end when out of range).
    void insertTabViewItem(const QString& identifier, int index);
    bool selectTabViewItemWithIdentifier(const QString& identifier);
    // The identifier of the selected tab, or "".
    QString selectedIdentifier() const;
    // Shows another view in the item's tab; the old view is deleted.
    void setViewOfItem(const QString& identifier, QWidget* view);
    // Shows another view in the item's tab and hands the old one back to the
    // caller, without a parent (nullptr when there is no such item, or the
    // item shows that view already).
    QWidget* swapViewOfItem(const QString& identifier, QWidget* view);
    // Every item's label from "TabView<identifier>".
    void localize();

private:
    std::vector<std::unique_ptr<MyTabViewItem>> _items;
};
