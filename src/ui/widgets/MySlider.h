#pragma once
#include "ui/widgets/TaggedControl.h"
#include <QSlider>

// A horizontal slider carrying a tag; its tool tip comes from "Tooltip<tag>"
// whatever the tag.
class MySlider : public TaggedControl<QSlider> {
    Q_OBJECT
public:
    MySlider(int tag = 0, int minimum = 0, int maximum = 100, QWidget* parent = nullptr);
    void localize();
};
