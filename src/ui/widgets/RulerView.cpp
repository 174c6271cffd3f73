#include "ui/widgets/RulerView.h"

#include <QPainter>

#include <cmath>

RulerView::RulerView(Qt::Orientation orientation, QWidget* parent)
    : QWidget(parent)
    , _orientation(orientation)
    , _unit(*RulerUnit::unitNamed(QStringLiteral("Points")))
{
    if (orientation == Qt::Horizontal)
        setFixedHeight(18);
    else
        setFixedWidth(18);
}

bool RulerView::setMeasurementUnits(const QString& unitName)
{
    const std::optional<RulerUnit> unit = RulerUnit::unitNamed(unitName);
    if (!unit)
        return false;
    _unit = *unit;
    update();
    return true;
}

void RulerView::setOriginOffset(double points)
{
    _originOffset = points;
    update();
}

void RulerView::setScale(double pixelsPerPoint)
{
    if (pixelsPerPoint > 0.0) {
        _scale = pixelsPerPoint;
        update();
    }
}

void RulerView::setVisibleStart(double pixels)
{
    if (_visibleStart == pixels)
        return;
    _visibleStart = pixels;
    update();
}

void RulerView::moveRulerlineFromLocationToLocation(double oldLocation, double newLocation)
{
    if (oldLocation >= 0) {
        const qsizetype at = _rulerlines.indexOf(oldLocation);
        if (at >= 0)
            _rulerlines.removeAt(at);
    }
    if (newLocation >= 0)
        _rulerlines.append(newLocation);
    update();
}

double RulerView::unitsAtPosition(double pixels) const
{
    return ((pixels + _visibleStart) / _scale - _originOffset) / _unit.pointsPerUnit;
}

double RulerView::majorStepUnits() const
{
    // Labelled marks at least 40 pixels apart, stepping by the unit's cycles.
    double step = 1.0;
    const double pixelsPerUnit = _unit.pointsPerUnit * _scale;
    const double up = _unit.stepUpCycle.isEmpty() ? 2.0 : _unit.stepUpCycle.first();
    const double down = _unit.stepDownCycle.isEmpty() ? 0.5 : _unit.stepDownCycle.first();
    while (step * pixelsPerUnit < 40.0 && step < 1e6)
        step *= up;
    while (step * down * pixelsPerUnit >= 40.0 && step > 1e-6)
        step *= down;
    return step;
}

QList<double> RulerView::majorMarkPositions() const
{
    QList<double> positions;
    const double length = _orientation == Qt::Horizontal ? width() : height();
    const double step = majorStepUnits();
    const double pixelsPerStep = step * _unit.pointsPerUnit * _scale;
    const double zero = _originOffset * _scale - _visibleStart;
    for (double at = zero - std::floor(zero / pixelsPerStep) * pixelsPerStep; at <= length; at += pixelsPerStep)
        positions.append(at);
    return positions;
}

void RulerView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    painter.setPen(palette().windowText().color());
    const double thickness = _orientation == Qt::Horizontal ? height() : width();
    // Readings in a small face; the vertical ruler's run up its length.
    QFont small = font();
    small.setPixelSize(9);
    painter.setFont(small);
    for (double at : majorMarkPositions()) {
        const QString reading = QString::number(std::round(unitsAtPosition(at) * 100.0) / 100.0);
        if (_orientation == Qt::Horizontal) {
            painter.drawLine(QPointF(at, thickness), QPointF(at, thickness / 2));
            painter.drawText(QPointF(at + 2, thickness / 2), reading);
        } else {
            painter.drawLine(QPointF(thickness, at), QPointF(thickness / 2, at));
            painter.save();
            painter.translate(thickness / 2, at - 2);
            painter.rotate(-90);
            painter.drawText(QPointF(0, 0), reading);
            painter.restore();
        }
    }
    painter.setPen(QPen(palette().highlight().color(), 1));
    for (double location : _rulerlines) {
        const double at = location - _visibleStart + 0.5;
        if (_orientation == Qt::Horizontal)
            painter.drawLine(QPointF(at, 0), QPointF(at, thickness));
        else
            painter.drawLine(QPointF(0, at), QPointF(thickness, at));
    }
}
