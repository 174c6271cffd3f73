#include "ui/widgets/ControlTags.h"

#include "platform/Geometry.h"
#include "platform/StringTable.h"
#include "ui/widgets/ScreenText.h"

#include <QLayout>

#include <QWidget>

namespace lq {

namespace {
const char* const tagProperty = "tag";
}

int widgetTag(const QObject* object)
{
    return object ? object->property(tagProperty).toInt() : 0;
}

void setWidgetTag(QObject* object, int tag)
{
    object->setProperty(tagProperty, tag);
}

QWidget* viewWithTag(QWidget* root, int tag)
{
    if (!root)
        return nullptr;
    if (root->property(tagProperty).isValid() && widgetTag(root) == tag)
        return root;
    for (QObject* child : root->children()) {
        if (auto* widget = qobject_cast<QWidget*>(child)) {
            if (QWidget* found = viewWithTag(widget, tag))
                return found;
        }
    }
    return nullptr;
}

QString localizedText(const QString& key)
{
    return lq::localized(key);
}

bool applyLocalized(const QString& key, const std::function<void(const QString&)>& apply)
{
    const QString value = localizedText(key);
    if (value == QStringLiteral(" "))
        return false;
    apply(value);
    return true;
}

void localizeToolTip(QWidget* widget, int tag)
{
    applyLocalized(QStringLiteral("Tooltip") + QString::number(tag), [widget](const QString& text) { widget->setToolTip(lq::plainToolTip(text)); });
}

void localizeFrame(QWidget* widget, const QString& key)
{
    QWidget* parent = widget->parentWidget();
    if (!parent || (parent->layout() && parent->layout()->indexOf(widget) >= 0))
        return;
    applyLocalized(key, [&](const QString& text) {
        const Rect frame = Rect::fromString(text);
        if (frame.isEmpty())
            return;
        const QRectF flipped(frame.x(), parent->height() - frame.maxY(), frame.width(), frame.height());
        widget->setGeometry(flipped.toRect());
    });
}

} // namespace lq
