#pragma once

#include "publish/SiteBuilder.h"

#include <vector>

class MyDocument;

// The open site as a publication sees it: its destination, its generated
// folder, and a build of that folder behind whatever the queue holds, in a
// folder made anew, that ends only when the queue has run everything (the
// scripts the build adds included). A build asked for while one runs joins
// it: both hear of its end. Tests leave the build out, or count it, through
// the services' siteBuilder, which is called in its place.
class DocumentSiteBuilder final : public SiteBuilder {
public:
    explicit DocumentSiteBuilder(MyDocument& document);
    ~DocumentSiteBuilder() override;

    XmlLocation* destination() override;
    QString generatedFolder() override;
    void buildSite(std::function<void()> then, std::function<void(const QString& why)> failed,
        std::function<void(const QString& line)> stepLines) override;
    // Drops the build's scripts (and whatever else the queue held): every
    // caller waiting for it is told it failed.
    void cancelBuild() override;
    bool isBuilding() const override { return _building; }

private:
    struct Waiter {
        std::function<void()> then;
        std::function<void(const QString& why)> failed;
    };
    // The queue ran everything, or was emptied first.
    void buildEnded(bool ranEverything);

    MyDocument& _document;
    bool _building = false;
    bool _cancelled = false;
    std::vector<Waiter> _waiters;
};
