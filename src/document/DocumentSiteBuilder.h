#pragma once

#include "publish/SiteBuilder.h"

class MyDocument;

// The open site as a publication sees it: its destination, its generated
// folder, and a build of that folder behind whatever the queue holds, in a
// folder made anew, that ends only when the queue has run everything (the
// scripts the build adds included). Tests leave the build out, or count it,
// through the services' siteBuilder, which is called in its place.
class DocumentSiteBuilder final : public SiteBuilder {
public:
    explicit DocumentSiteBuilder(MyDocument& document);
    ~DocumentSiteBuilder() override;

    XmlLocation* destination() override;
    QString generatedFolder() override;
    void buildSite(std::function<void()> then, std::function<void(const QString& why)> failed) override;

private:
    void whenQueueIsIdle(std::function<void()> then);

    MyDocument& _document;
};
