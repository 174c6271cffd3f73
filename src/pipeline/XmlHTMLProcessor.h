#pragma once

#include "pipeline/XmlRun.h"

namespace lq {
class PageMaker;
}

// A generator step of a site build, kept in memory only: when run it writes
// and queues the HTML script of one page (lq::createHTMLProcessorSheet), or
// queues the script its build's page maker wrote ahead for the page.
class XmlHTMLProcessor : public XmlRun {
public:
    explicit XmlHTMLProcessor(Key key);

    static std::shared_ptr<XmlHTMLProcessor> createForAlbumWithTemplate(const QString& pageUUID, const QString& sheetUUID);
    static XmlHTMLProcessor* cast(XmlBase* object) { return dynamic_cast<XmlHTMLProcessor*>(object); }

    const QString& album() const { return _album; }
    const QString& sheet() const { return _sheet; }
    // The maker that writes the build's pages ahead, and the place of this
    // step's page among them.
    void setPageMaker(std::shared_ptr<lq::PageMaker> maker, std::size_t index)
    {
        _maker = std::move(maker);
        _index = index;
    }
    // Answers false: nothing for the editors to refresh.
    bool run() override;

private:
    QString _album;
    QString _sheet;
    std::shared_ptr<lq::PageMaker> _maker;
    std::size_t _index = 0;
};
