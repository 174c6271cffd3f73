#include "ui/widgets/MyColorWell.h"

#include "ui/widgets/ColorPanel.h"
#include "ui/widgets/ControlTags.h"

#include <QPainter>

MyColorWell::MyColorWell(int tag, QWidget* parent)
    : TaggedControl<QPushButton>(parent)
{
    setTag(tag);
    setCheckable(true);
    // A swatch: its size does not follow the room it is given.
    setFixedSize(44, 24);
    connect(this, &QPushButton::clicked, this, [this](bool checked) { setActive(checked); });
}

MyColorWell::~MyColorWell()
{
    ColorPanel::shared().deactivate(this);
}

void MyColorWell::localize()
{
    localizeToolTipByTag(true);
}

void MyColorWell::setColor(const QColor& color)
{
    _color = color;
    update();
}

void MyColorWell::setActive(bool active)
{
    if (_active == active)
        return;
    _active = active;
    setChecked(active);
    if (active)
        ColorPanel::shared().activate(this);
    else
        ColorPanel::shared().deactivate(this);
}

void MyColorWell::takeColor(const QColor& color)
{
    if (color == _color)
        return;
    setColor(color);
    Q_EMIT colorChanged(color);
}

void MyColorWell::paintEvent(QPaintEvent* event)
{
    QPushButton::paintEvent(event);
    QPainter painter(this);
    painter.fillRect(rect().adjusted(6, 6, -6, -6), _color);
}
