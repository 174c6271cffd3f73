#pragma once
#include "ui/widgets/RulerUnit.h"

#include <QWidget>

// A horizontal or vertical ruler drawn in a registered unit, with its zero at
// an origin offset (in points from the start of the view it measures) and a
// scale (pixels per point). The measured view may be scrolled: the ruler
// shows it from its visible start on. Marker lines show places of the view
// (a selection's edges, for instance).
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
    // The measured view's coordinate (pixels) at the ruler's start.
    void setVisibleStart(double pixels);
    double visibleStart() const { return _visibleStart; }

    // Takes the marker line at the old location away and draws one at the
    // new location; a negative location stands for no line. Locations are
    // in the measured view's coordinates (pixels).
    void moveRulerlineFromLocationToLocation(double oldLocation, double newLocation);
    const QList<double>& rulerlineLocations() const { return _rulerlines; }

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
    double _visibleStart = 0.0;
    QList<double> _rulerlines;
};
