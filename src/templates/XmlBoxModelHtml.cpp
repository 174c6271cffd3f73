// The HTML and CSS of a box: its division and its borders and padding.
#include "templates/XmlBoxModel.h"

#include "platform/ExceptionFrame.h"
#include "platform/Strings.h"
#include "platform/ValueStrings.h"

QString XmlBoxModel::htmlDivTagsForRect(const QString& elementId, const lq::Rect& rect)
{
    return lq::modelFrame(this, "htmlDivTags:forRect:", [&] {
        return QStringLiteral("<div id=\"%1\" style=\"top: %2px; left: %3px; width: %4px; height: %5px;\">&nbsp;</div>\n")
            .arg(elementId, QString::number(lq::truncatedPixel(rect.y())), QString::number(lq::truncatedPixel(rect.x())),
                QString::number(lq::truncatedPixel(rect.width())), QString::number(lq::truncatedPixel(rect.height())));
    });
}

QString XmlBoxModel::htmlDivTagsVornStyle(const QString& elementId, const QString& style)
{
    return lq::modelFrame(this, "htmlDivTags:vornStyle:", [&] {
        const int shadow = dropShadow() ? XmlBoxModel::shadowStrip : 0;
        const int divWidth = calcWidth() - bl() - br() - shadow;
        const int divHeight = actualHeight() - bt() - bb() - shadow;
        const int divTop = calcTop();
        const int divLeft = calcLeft();
        if (style.isNull()) {
            return htmlDivTagsForRect(elementId, lq::Rect(static_cast<float>(divLeft), static_cast<float>(divTop),
                                                          static_cast<float>(divWidth), static_cast<float>(divHeight)));
        }
        return QStringLiteral("<div id=\"%1\" style=\"%2 top: %3px; left: %4px; width: %5px; height: %6px;\">&nbsp;</div>\n")
            .arg(elementId, style, QString::number(divTop), QString::number(divLeft), QString::number(divWidth),
                QString::number(divHeight));
    });
}

QString XmlBoxModel::borderType(BorderType type)
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

void XmlBoxModel::appendCSSBorders(QString& css)
{
    lq::modelFrame(this, "appendCSSBorders:", [&] {
        if (bordersAreBitmap()) {
            css += QStringLiteral("border: 0px; ");
            return;
        }
        const QString style = borderType(bType());
        const auto side = [&](const char* which, const lq::Colour& colour, int width) {
            css += QStringLiteral("border-%1: %2 %3 %4px; ")
                       .arg(QLatin1String(which), lq::colorToCSSString(colour), style, QString::number(width));
        };
        side("top", btColor(), bt());
        side("left", blColor(), bl());
        side("bottom", bbColor(), bb());
        side("right", brColor(), br());
    });
}

void XmlBoxModel::appendCSSPadding(QString& css)
{
    lq::modelFrame(this, "appendCSSPadding:", [&] {
        const bool bitmap = bordersAreBitmap();
        css += QString::asprintf("padding: %dpx %dpx %dpx %dpx; ", pt() + (bitmap ? bt() : 0), pr() + (bitmap ? br() : 0),
                                 pb() + (bitmap ? bb() : 0), pl() + (bitmap ? bl() : 0));
    });
}
