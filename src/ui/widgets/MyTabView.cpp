#include "ui/widgets/MyTabView.h"

#include <QSignalBlocker>

MyTabView::MyTabView(QWidget* parent)
    : QTabWidget(parent)
{
}

MyTabView::~MyTabView()
{
    // Shown views belong to the tab widget's pages; hand them to the items,
    // which delete the views that no widget owns.
    while (count() > 0) {
        QWidget* page = widget(0);
        removeTab(0);
        page->setParent(nullptr);
    }
}

MyTabViewItem* MyTabView::addTabViewItem(const QString& identifier, const QString& label, QWidget* view)
{
    _items.push_back(std::make_unique<MyTabViewItem>(identifier, label, view));
    MyTabViewItem* item = _items.back().get();
    addTab(item->view(), item->label());
    return item;
}

MyTabViewItem* MyTabView::tabViewItemWithIdentifier(const QString& identifier) const
{
    for (const auto& item : _items) {
        if (item->identifier() == identifier)
            return item.get();
    }
    return nullptr;
}

int MyTabView::indexOfTabViewItemWithIdentifier(const QString& identifier) const
{
    const MyTabViewItem* item = tabViewItemWithIdentifier(identifier);
    return item ? indexOf(item->view()) : -1;
}

void MyTabView::removeTabViewItem(const QString& identifier)
{
    const int index = indexOfTabViewItemWithIdentifier(identifier);
    if (index < 0)
        return;
    QWidget* page = widget(index);
    removeTab(index);
    page->setParent(nullptr);
}

void MyTabView::insertTabViewItem(const QString& identifier, int index)
{
    MyTabViewItem* item = tabViewItemWithIdentifier(identifier);
    if (!item || indexOf(item->view()) >= 0)
        return;
    if (index < 0 || index > count())
        index = count();
    insertTab(index, item->view(), item->label());
}

bool MyTabView::selectTabViewItemWithIdentifier(const QString& identifier)
{
    const int index = indexOfTabViewItemWithIdentifier(identifier);
    if (index < 0)
        return false;
    setCurrentIndex(index);
    return true;
}

QString MyTabView::selectedIdentifier() const
{
    QWidget* page = currentWidget();
    for (const auto& item : _items) {
        if (page && item->view() == page)
            return item->identifier();
    }
    return QString();
}

void MyTabView::setViewOfItem(const QString& identifier, QWidget* view)
{
    delete swapViewOfItem(identifier, view);
}

QWidget* MyTabView::swapViewOfItem(const QString& identifier, QWidget* view)
{
    MyTabViewItem* item = tabViewItemWithIdentifier(identifier);
    if (!item || item->view() == view)
        return nullptr;
    const int index = indexOf(item->view());
    const bool selected = index >= 0 && index == currentIndex();
    // Swapping the shown tab's page must not read as the user choosing a tab.
    const QSignalBlocker quiet(this);
    QWidget* old = item->takeView(view);
    if (index >= 0) {
        removeTab(index);
        insertTab(index, item->view(), item->label());
        if (selected)
            setCurrentIndex(index);
    }
    if (old)
        old->setParent(nullptr);
    return old;
}

void MyTabView::localize()
{
    for (const auto& item : _items) {
        item->localize();
        const int index = indexOf(item->view());
        if (index >= 0)
            setTabText(index, item->label());
    }
}
