#pragma once

#include "publish/SiteBuilder.h"

class MyDocument;

// The open site as a publication sees it: its destination, its generated
// folder, and a build of that folder behind whatever the queue holds, in a
// folder made anew, that ends only when the queue has run everything (the
// scripts the build adds included).
class DocumentSiteBuilder final : public SiteBuilder {
public:
    // Tests leave the build out, or count it: the replacement is called in
    // place of the build (none: the real build).
    using Replacement = std::function<void(MyDocument& document, std::function<void()> then)>;
    static void setReplacement(Replacement replacement);

    explicit DocumentSiteBuilder(MyDocument& document);
    ~DocumentSiteBuilder() override;

    XmlLocation* destination() override;
    QString generatedFolder() override;
    void buildSite(std::function<void()> then, std::function<void(const QString& why)> failed) override;

private:
    void whenQueueIsIdle(std::function<void()> then);

    MyDocument& _document;
};
