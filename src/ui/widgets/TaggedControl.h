#pragma once
#include "ui/widgets/ControlTags.h"

// The tag every control of the kit carries (kept as the widget property that
// viewWithTag reads), and the tool-tip lookup most of them share.
template <typename Base>
class TaggedControl : public Base {
public:
    using Base::Base;

    int tag() const { return lq::widgetTag(this); }
    void setTag(int tag) { lq::setWidgetTag(this, tag); }

protected:
    // "Tooltip<tag>" as the tool tip: for tags of 100 and more, or for any
    // tag when anyTag is set.
    void localizeToolTipByTag(bool anyTag = false)
    {
        if (anyTag || tag() >= lq::firstLocalizedTag)
            lq::localizeToolTip(this, tag());
    }

    // For tags of 100 and more: the tool tip, then "<prefix><tag>" handed to
    // apply, then the frame "Rect<prefix><tag>".
    template <typename Apply>
    void localizeTextByTag(const char* prefix, Apply apply)
    {
        if (tag() < lq::firstLocalizedTag)
            return;
        localizeToolTipByTag();
        const QString key = QString::fromLatin1(prefix) + QString::number(tag());
        lq::applyLocalized(key, apply);
        lq::localizeFrame(this, QStringLiteral("Rect") + key);
    }
};
