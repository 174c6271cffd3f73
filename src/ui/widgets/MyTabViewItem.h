#pragma once
#include <QPointer>
#include <QString>
#include <QWidget>

// One item of a MyTabView: an identifier, a label and the view it shows. The
// tab view owns its items, also while they are removed from the tabs, so an
// item can be taken out and put back with its view; the view can be swapped.
class MyTabViewItem {
public:
    MyTabViewItem(const QString& identifier, const QString& label, QWidget* view);
    ~MyTabViewItem();
    MyTabViewItem(const MyTabViewItem&) = delete;
    MyTabViewItem& operator=(const MyTabViewItem&) = delete;

    const QString& identifier() const { return _identifier; }
    const QString& label() const { return _label; }
    void setLabel(const QString& label) { _label = label; }
    QWidget* view() const { return _view; }
    // Replaces the view; the old one is handed back to the caller (not deleted).
    QWidget* takeView(QWidget* replacement);
    // "TabView<identifier>" of the string table as the label.
    void localize();

private:
    QString _identifier;
    QString _label;
    QPointer<QWidget> _view;
};
