#pragma once
#include "ui/widgets/TaggedControl.h"
#include <QColor>
#include <QPushButton>

// A swatch showing a colour. A click activates it: the shared colour panel
// opens with its colour and what is picked there becomes the well's colour;
// a second click (or activating another well) deactivates it. Its tool tip
// comes from "Tooltip<tag>" whatever the tag.
class MyColorWell : public TaggedControl<QPushButton> {
    Q_OBJECT
public:
    explicit MyColorWell(int tag = 0, QWidget* parent = nullptr);
    ~MyColorWell() override;
    void localize();

    QColor color() const { return _color; }
    void setColor(const QColor& color);
    bool isActive() const { return _active; }
    void setActive(bool active);
    // A colour picked in the panel: set and reported.
    void takeColor(const QColor& color);

Q_SIGNALS:
    void colorChanged(const QColor& color);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor _color = Qt::black;
    bool _active = false;
};
