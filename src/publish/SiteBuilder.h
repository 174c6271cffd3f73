#pragma once

#include <QString>

#include <functional>

class XmlLocation;

// What a publication asks of the open site: where it goes, which folder
// holds the generated site, and a build of that folder before it is sent.
// The site document implements it; tests hand in their own.
class SiteBuilder {
public:
    virtual ~SiteBuilder() = default;

    virtual XmlLocation* destination() = 0;
    // "<site folder>/homepage".
    virtual QString generatedFolder() = 0;
    // Builds the generated folder anew behind whatever is queued. `then`
    // runs once every step ran and none failed; otherwise `failed` runs with
    // the reason.
    virtual void buildSite(std::function<void()> then, std::function<void(const QString& why)> failed) = 0;
};
