#pragma once
#include <QList>
#include <QString>

#include <optional>

// A measuring unit of the rulers: its name, abbreviation, how many points one
// unit is, and the cycles by which tick marks are subdivided (step-up cycle
// for zooming out, step-down cycles for zooming in). Units are registered
// once by name for the whole run.
struct RulerUnit {
    QString name;
    QString abbreviation;
    double pointsPerUnit = 1.0;
    QList<double> stepUpCycle;
    QList<double> stepDownCycle;

    // Registers (or replaces) the unit under its name.
    static void registerUnit(const RulerUnit& unit);
    static std::optional<RulerUnit> unitNamed(const QString& name);
    // The built-in "Points" and "Inches" and whatever was registered.
    static QList<RulerUnit> registeredUnits();
};
