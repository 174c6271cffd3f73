#pragma once
// Integer tags and string-table localisation shared by every control of the kit.
//
// A control's tag is kept as the widget property "tag", so viewWithTag finds
// any tagged widget whatever its class. Texts are looked up in the
// application's string table (lq::localized); a value of exactly
// one blank " " means "no translation" and leaves the control as it is.
#include <QString>

#include <functional>

class QObject;
class QWidget;

namespace lq {

int widgetTag(const QObject* object);   // 0 when the object carries no tag
void setWidgetTag(QObject* object, int tag);

// The first widget carrying the tag, searched depth-first from the root (the root included).
QWidget* viewWithTag(QWidget* root, int tag);

// The translation of the key, or " " when there is none (lq::localized).
QString localizedText(const QString& key);
// Calls apply with the key's translation unless it is " "; answers whether it did.
bool applyLocalized(const QString& key, const std::function<void(const QString&)>& apply);
// "Tooltip<tag>" as the widget's tool tip.
void localizeToolTip(QWidget* widget, int tag);
// The translated frame ("{{x, y}, {w, h}}", origin at the parent's bottom
// left) as the widget's geometry. Only absolutely placed widgets take it: a
// widget in a layout keeps the layout's place. A rectangle that does not
// parse (or is empty) leaves the frame as it is rather than hiding the control.
void localizeFrame(QWidget* widget, const QString& key);

// Most controls look their texts up only for tags of 100 and more.
constexpr int firstLocalizedTag = 100;

} // namespace lq
