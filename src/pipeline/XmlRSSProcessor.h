#pragma once

#include "pipeline/XmlRun.h"

// The last generator step of a site build, kept in memory only: when run it
// has the document queue the script that writes the feed file.
class XmlRSSProcessor : public XmlRun {
public:
    explicit XmlRSSProcessor(Key key);

    static std::shared_ptr<XmlRSSProcessor> create();
    static XmlRSSProcessor* cast(XmlBase* object) { return dynamic_cast<XmlRSSProcessor*>(object); }

    // Answers false: nothing for the editors to refresh.
    bool run() override;
};
