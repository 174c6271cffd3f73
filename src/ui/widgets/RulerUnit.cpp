#include "ui/widgets/RulerUnit.h"

namespace {
QList<RulerUnit>& registry()
{
    static QList<RulerUnit> units{
        RulerUnit{QStringLiteral("Points"), QStringLiteral("pt"), 1.0, {2.0}, {0.5}},
        RulerUnit{QStringLiteral("Inches"), QStringLiteral("in"), 72.0, {2.0}, {0.5}},
    };
    return units;
}
} // namespace

void RulerUnit::registerUnit(const RulerUnit& unit)
{
    for (RulerUnit& known : registry()) {
        if (known.name == unit.name) {
            known = unit;
            return;
        }
    }
    registry().append(unit);
}

std::optional<RulerUnit> RulerUnit::unitNamed(const QString& name)
{
    for (const RulerUnit& known : registry()) {
        if (known.name == name)
            return known;
    }
    return std::nullopt;
}

QList<RulerUnit> RulerUnit::registeredUnits()
{
    return registry();
}
