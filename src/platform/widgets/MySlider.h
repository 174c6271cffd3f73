#pragma once
#include <QSlider>

// A horizontal slider carrying a tag; its tool tip comes from "Tooltip<tag>"
// whatever the tag.
class MySlider : public QSlider {
    Q_OBJECT
public:
    MySlider(int tag = 0, int minimum = 0, int maximum = 100, QWidget* parent = nullptr);
    int tag() const;
    void setTag(int tag);
    void localize();
};
