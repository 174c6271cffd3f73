// The HTML and CSS of a box: its division and its borders and padding.
#include "templates/BoxModelHtml.h"

#include "platform/ExceptionFrame.h"
#include "platform/Strings.h"
#include "platform/ValueStrings.h"

QString BoxModelHtml::htmlDivTagsForRect(const QString& elementId, const lq::Rect& rect)
{
    return lq::modelFrame(&_box, "htmlDivTags:forRect:", [&] {
        return QStringLiteral("<div id=\"%1\" style=\"top: %2px; left: %3px; width: %4px; height: %5px;\">&nbsp;</div>\n")
            .arg(elementId, QString::number(lq::truncatedPixel(rect.y())), QString::number(lq::truncatedPixel(rect.x())),
                QString::number(lq::truncatedPixel(rect.width())), QString::number(lq::truncatedPixel(rect.height())));
    });
}

QString BoxModelHtml::htmlDivTagsVornStyle(const QString& elementId, const QString& style)
{
    return lq::modelFrame(&_box, "htmlDivTags:vornStyle:", [&] {
        const int shadow = _box.dropShadow() ? XmlBoxModel::shadowStrip : 0;
        const int divWidth = _box.calcWidth() - _box.bl() - _box.br() - shadow;
        const int divHeight = _box.actualHeight() - _box.bt() - _box.bb() - shadow;
        const int divTop = _box.calcTop();
        const int divLeft = _box.calcLeft();
        if (style.isNull()) {
            return htmlDivTagsForRect(elementId, lq::Rect(static_cast<float>(divLeft), static_cast<float>(divTop),
                                                          static_cast<float>(divWidth), static_cast<float>(divHeight)));
        }
        return QStringLiteral("<div id=\"%1\" style=\"%2 top: %3px; left: %4px; width: %5px; height: %6px;\">&nbsp;</div>\n")
            .arg(elementId, style, QString::number(divTop), QString::number(divLeft), QString::number(divWidth),
                QString::number(divHeight));
    });
}

QString BoxModelHtml::borderType(XmlBoxModel::BorderType type)
{
    switch (type) {
    case XmlBoxModel::BorderType::Double:
        return QStringLiteral("double");
    case XmlBoxModel::BorderType::Dotted:
        return QStringLiteral("dotted");
    case XmlBoxModel::BorderType::Dashed:
        return QStringLiteral("dashed");
    case XmlBoxModel::BorderType::Groove:
        return QStringLiteral("groove");
    case XmlBoxModel::BorderType::Ridge:
        return QStringLiteral("ridge");
    default:
        return QStringLiteral("solid");
    }
}

void BoxModelHtml::appendCSSBorders(QString& css)
{
    lq::modelFrame(&_box, "appendCSSBorders:", [&] {
        if (_box.bordersAreBitmap()) {
            css += QStringLiteral("border: 0px; ");
            return;
        }
        const QString style = borderType(_box.bType());
        const auto side = [&](const char* which, const lq::Colour& colour, int width) {
            css += QStringLiteral("border-%1: %2 %3 %4px; ")
                       .arg(QLatin1String(which), lq::colorToCSSString(colour), style, QString::number(width));
        };
        side("top", _box.btColor(), _box.bt());
        side("left", _box.blColor(), _box.bl());
        side("bottom", _box.bbColor(), _box.bb());
        side("right", _box.brColor(), _box.br());
    });
}

void BoxModelHtml::appendCSSPadding(QString& css)
{
    lq::modelFrame(&_box, "appendCSSPadding:", [&] {
        const bool bitmap = _box.bordersAreBitmap();
        css += QString::asprintf("padding: %dpx %dpx %dpx %dpx; ", _box.pt() + (bitmap ? _box.bt() : 0), _box.pr() + (bitmap ? _box.br() : 0),
                                 _box.pb() + (bitmap ? _box.bb() : 0), _box.pl() + (bitmap ? _box.bl() : 0));
    });
}
