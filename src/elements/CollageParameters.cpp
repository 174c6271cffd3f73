#include "elements/CollageParameters.h"

#include "model/core/XmlBase.h"
#include "platform/ExceptionFrame.h"
#include "platform/Strings.h"
#include "platform/ValueStrings.h"

#include <QStringList>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// The collage picker's layouts, by photos x 3 + style.
const char* const collageLayouts[27] = {
    "", "", "",
    "0,100 | 0,100 | 0,1,0,1 ",
    "0,100 | 0,100 | 0,1,0,1 ",
    "0,100 | 0,100 | 0,1,0,1 ",
    "0,50,100 | 0,100 | 0,1,0,1 | 1,2,0,1",
    "0,100 | 0,50,100 | 0,1,0,1 | 0,1,1,2",
    "0,66.6,100 | 0,100 | 0,1,0,1 | 1,2,0,1",
    "0,33.3,66.6,100 | 0,100 | 0,1,0,1 | 1,2,0,1 | 2,3,0,1",
    "0,50,100 | 0,50,100 | 0,1,0,2 | 1,2,0,1 | 1,2,1,2",
    "0,50,75,100 | 0,100 | 0,1,0,1 | 1,2,0,1 | 2,3,0,1",
    "0,25,50,75,100 | 0,100 | 0,1,0,1 | 1,2,0,1 | 2,3,0,1 | 3,4,0,1",
    "0,50,75,100 | 0,50,100 | 0,1,0,2 | 1,2,0,1 | 2,3,0,1 | 1,3,1,2",
    "0,50,75,100 | 0,50,100 | 0,1,0,2 | 1,2,0,1 | 2,3,0,2 | 1,2,1,2",
    "0,50,75,100 | 0,50,100 | 0,1,0,2 | 1,2,0,1 | 2,3,0,1 | 1,2,1,2 | 2,3,1,2 ",
    "0,25,50,75,100 | 0,50,100 | 0,1,0,2 | 1,2,0,2 | 2,3,0,2 | 3,4,0,1 | 3,4,1,2 ",
    "0,50,75,100 | 0,33.3,66.6,100 | 0,1,0,3 | 1,2,0,3 | 2,3,0,1 | 2,3,1,2 | 2,3,2,3 ",
    "0,50,75,100 | 0,33.3,50,66.6,100 | 0,1,0,4 | 1,2,0,2 | 1,2,2,4 | 2,3,0,1 | 2,3,1,3 | 2,3,3,4 ",
    "0,25,75,100 | 0,33.3,50,66.6,100 | 0,1,0,2 | 0,1,2,4 | 1,2,0,4 | 2,3,0,1 | 2,3,1,3 | 2,3,3,4 ",
    "0,25,50,75,100 | 0,50,100 | 0,1,0,2 | 1,2,0,1 | 1,2,1,2 | 2,3,0,1 | 2,3,1,2 | 3,4,0,2 ",
    "0,50,75,100 | 0,33.3,66.6,100 | 0,1,0,3 | 1,2,0,1 | 1,2,1,2 | 1,2,2,3 | 2,3,0,1 | 2,3,1,2 | 2,3,2,3",
    "0,25,75,100 | 0,33.3,66.6,100 | 0,1,0,1 | 0,1,1,2 | 0,1,2,3 | 1,2,0,3 | 2,3,0,1 | 2,3,1,2 | 2,3,2,3",
    "0,40,60,80,100 | 0,33.3,50,66.6,100 | 0,1,0,4 | 1,3,0,2 | 1,2,2,4 | 2,3,2,4 | 3,4,0,1 | 3,4,1,3 | 3,4,3,4",
    "0,25,50,75,100 | 0,50,100 | 0,1,0,1 | 0,1,1,2 | 1,2,0,1 | 1,2,1,2 | 2,3,0,1 | 2,3,1,2 | 3,4,0,1 | 3,4,1,2",
    "0,33,66,100 | 0,33,50,66,100 | 0,1,0,1 | 0,1,1,3 | 0,1,3,4 | 1,2,0,2 | 1,2,2,4 | 2,3,0,1 | 2,3,1,3 | 2,3,3,4",
    "0,33,50,66,100 | 0,33,66,100 | 0,1,0,1 | 1,3,0,1 | 3,4,0,1 | 0,2,1,2 | 2,4,1,2 | 0,1,2,3 | 1,3,2,3 | 3,4,2,3",
};

} // namespace

void CollageParameters::setNumberPhotos(int count)
{
    _numberPhotos = std::clamp(count, 1, 8);
}

void CollageParameters::setStyle(int style)
{
    _style = std::clamp(style, 0, 2);
}

void CollageParameters::setWidth(int width)
{
    _width = std::clamp(width, 20, 5000);
}

void CollageParameters::setHeight(int height)
{
    _height = std::clamp(height, 10, 5000);
}

QString CollageParameters::collageString() const
{
    return lq::uiFrame(this, "collageString", [&] {
        return collageStringFor(_numberPhotos, _width, _height, _style, _space, _allow ? 1 : 0);
    });
}

void CollageParameters::setCollageString(const QString& collage)
{
    lq::uiFrame(this, "setCollageString:", [&] {
        *this = CollageParameters();
        if (collage.isEmpty())
            return;
        const QStringList header = collage.section(QLatin1Char('|'), 0, 0).split(QLatin1Char(','));
        if (header.size() <= 4)
            return;
        setNumberPhotos(lq::intValue(header.at(0)));
        setWidth(lq::intValue(header.at(1)));
        setHeight(lq::intValue(header.at(2)));
        setStyle(lq::intValue(header.at(3)));
        setSpaceBetween(lq::intValue(header.at(4)));
        if (header.size() > 5)
            setAllowPhotos(lq::intValue(header.at(5)) != 0);
    });
}

QList<lq::Rect> CollageParameters::miniatureCells() const
{
    return lq::uiFrame(this, "miniatureCells", [&] {
        QList<lq::Rect> cells;
        const QString layout = collageLayout(_numberPhotos, _style);
        for (const QString& cell : collagePreviewCells(layout, miniatureWidth, miniatureHeight, 0))
            cells.append(lq::Rect::fromString(cell));
        return cells;
    });
}

QString CollageParameters::collageLayout(int photos, int style)
{
    if (photos < 0 || photos > 8 || style < 0 || style > 2)
        return QString();
    return QString::fromLatin1(collageLayouts[photos * 3 + style]);
}

QStringList CollageParameters::collagePreviewCells(const QString& layout, int width, int height, int spacing)
{
    return lq::classFrame("CollageParameters +collagePreviewCells", [&] {
        QStringList cells;
        const QStringList parts = layout.split(QLatin1Char('|'));
        if (parts.size() < 2)
            return cells;
        const auto lines = [](const QString& part) {
            std::vector<double> values;
            for (const QString& value : part.split(QLatin1Char(',')))
                values.push_back(value.trimmed().toDouble());
            return values;
        };
        const std::vector<double> xs = lines(parts.at(0));
        const std::vector<double> ys = lines(parts.at(1));
        const double w = width + spacing;
        const double h = height + spacing;
        const auto at = [](const std::vector<double>& values, int index) {
            return index >= 0 && index < static_cast<int>(values.size()) ? values[static_cast<std::size_t>(index)] : 0.0;
        };
        for (qsizetype i = 2; i < parts.size(); ++i) {
            const QStringList fields = parts.at(i).split(QLatin1Char(','));
            if (fields.size() != 4)
                continue;
            const int c0 = fields.at(0).trimmed().toInt();
            const int c1 = fields.at(1).trimmed().toInt();
            const int r0 = fields.at(2).trimmed().toInt();
            const int r1 = fields.at(3).trimmed().toInt();
            const double x = std::ceil(at(xs, c0) * w / 100.0);
            const double right = std::min(std::ceil(at(xs, c1) * w / 100.0), w);
            const double y = std::ceil(at(ys, r0) * h / 100.0);
            const double bottom = std::min(std::ceil(at(ys, r1) * h / 100.0), h);
            cells.append(lq::rectToString(lq::Rect(static_cast<float>(x), static_cast<float>(y),
                                               static_cast<float>(right - x - spacing),
                                               static_cast<float>(bottom - y - spacing))));
        }
        return cells;
    });
}

QString CollageParameters::collageStringFor(int photos, int width, int height, int style, int spacing, int allowPhotos)
{
    QStringList parts;
    parts.append(QString::asprintf("%d,%d,%d,%d,%d,%d", photos, width, height, style, spacing, allowPhotos));
    parts.append(collagePreviewCells(collageLayout(photos, style), width, height, spacing));
    return parts.join(QLatin1Char('|'));
}
