#pragma once

#include "pipeline/XmlRun.h"

// A generator step of a site build, kept in memory only: when run it writes
// and queues the style-sheet script of one template (lq::createCSSProcessor).
class XmlCSSProcessor : public XmlRun {
public:
    explicit XmlCSSProcessor(Key key);

    static std::shared_ptr<XmlCSSProcessor> createForSheet(const QString& sheetUUID);
    static XmlCSSProcessor* cast(XmlBase* object) { return dynamic_cast<XmlCSSProcessor*>(object); }

    const QString& sheet() const { return _sheet; }
    // Answers false: nothing for the editors to refresh.
    bool run() override;

private:
    QString _sheet;
};
