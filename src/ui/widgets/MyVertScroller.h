#pragma once
#include <QScrollArea>

// Scrolls its view vertically only: the view is as wide as the scroller and
// as tall as it needs; a line border and a small vertical scroll bar.
class MyVertScroller : public QScrollArea {
    Q_OBJECT
public:
    explicit MyVertScroller(QWidget* parent = nullptr);
    // The scrolled view (owned by the scroller from now on).
    void setSubView(QWidget* view);
    QWidget* subView() const { return widget(); }
};
