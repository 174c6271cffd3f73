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
    // the reason. The line each step would write to the Activity log goes
    // to `stepLines` instead, when one is given (a publication's details);
    // failures stay in the Activity log.
    virtual void buildSite(std::function<void()> then, std::function<void(const QString& why)> failed,
        std::function<void(const QString& line)> stepLines) = 0;
    // Stops the build under way: nothing of it runs any more, and `failed`
    // is told of it. Nothing when none runs.
    virtual void cancelBuild() = 0;
    virtual bool isBuilding() const = 0;
};
