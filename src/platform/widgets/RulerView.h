#pragma once
#include "platform/widgets/RulerUnit.h"

#include <QWidget>

// A horizontal or vertical ruler drawn in a registered unit, with its zero at
// an origin offset (in points from the ruler's start) and a scale (pixels per point).
class RulerView : public QWidget {
    Q_OBJECT
public:
    explicit RulerView(Qt::Orientation orientation, QWidget* parent = nullptr);

    // Answers false (and keeps the current unit) for an unknown name.
    bool setMeasurementUnits(const QString& unitName);
    const RulerUnit& unit() const { return _unit; }
    void setOriginOffset(double points);
    double originOffset() const { return _originOffset; }
    void setScale(double pixelsPerPoint);

    // The ruler's reading, in units, at a position in pixels along it.
    double unitsAtPosition(double pixels) const;
    // The positions in pixels of the labelled marks over the ruler's length.
    QList<double> majorMarkPositions() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    double majorStepUnits() const;

    Qt::Orientation _orientation;
    RulerUnit _unit;
    double _originOffset = 0.0;
    double _scale = 1.0;
};
