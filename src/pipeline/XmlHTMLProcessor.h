#pragma once

#include "pipeline/XmlRun.h"

// A generator step of a site build, kept in memory only: when run it writes
// and queues the HTML script of one page (lq::createHTMLProcessorSheet).
class XmlHTMLProcessor : public XmlRun {
public:
    explicit XmlHTMLProcessor(Key key);

    static std::shared_ptr<XmlHTMLProcessor> createForAlbumWithTemplate(const QString& pageUUID, const QString& sheetUUID);
    static XmlHTMLProcessor* cast(XmlBase* object) { return dynamic_cast<XmlHTMLProcessor*>(object); }

    const QString& album() const { return _album; }
    const QString& sheet() const { return _sheet; }
    // Answers false: nothing for the editors to refresh.
    bool run() override;

private:
    QString _album;
    QString _sheet;
};
