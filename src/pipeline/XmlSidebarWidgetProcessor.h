#pragma once

#include "pipeline/XmlRun.h"

// A generator step kept in memory only: when run it asks the site to write
// and queue the script of one sidebar widget.
class XmlSidebarWidgetProcessor final : public XmlRun {
public:
    explicit XmlSidebarWidgetProcessor(Key key);

    static std::shared_ptr<XmlSidebarWidgetProcessor> createForWidget(const QString& widgetUUID);
    static XmlSidebarWidgetProcessor* cast(XmlBase* object) { return dynamic_cast<XmlSidebarWidgetProcessor*>(object); }

    const QString& widget() const { return _widget; }
    // Answers false: nothing for the editors to refresh.
    bool run() override;

private:
    QString _widget;
};
