#pragma once

#include "templates/XmlBoxModel.h"

#include <QString>

// A box's part of the page and the template's CSS: its division, and its
// borders and padding as CSS.
class BoxModelHtml {
public:
    explicit BoxModelHtml(XmlBoxModel& box)
        : _box(box)
    {
    }

    // `<div id="ID" style="top: Ypx; left: Xpx; width: Wpx; height: Hpx;">&nbsp;</div>`
    // and a newline, with the rectangle cut to whole pixels.
    QString htmlDivTagsForRect(const QString& elementId, const lq::Rect& rect);
    // The box's own div: the bordered area (actualHeight high) less the
    // borders (padding stays inside, the shadow strip does not), with the
    // additional style, when given (not null), ahead of the position.
    QString htmlDivTagsVornStyle(const QString& elementId, const QString& style);
    // The CSS border style name of a border type ("solid" for unknown types).
    static QString borderType(XmlBoxModel::BorderType type);
    // "border-top: ...; border-left: ...; border-bottom: ...; border-right: ...; ",
    // every side whatever its width ("border: 0px; " for bitmap borders).
    void appendCSSBorders(QString& css);
    // "padding: T R B L; " (with the borders added for bitmap borders).
    void appendCSSPadding(QString& css);

private:
    XmlBoxModel& _box;
};
