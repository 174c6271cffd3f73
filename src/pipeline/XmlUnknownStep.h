#pragma once

#include "pipeline/XmlRun.h"

// A script element under a name the factory does not know, read in place of
// the step it names. It does nothing but fail with that name, so that a build
// whose scripts hold one is counted as failed rather than reported done (a
// program that never registered the script steps builds nothing).
class XmlUnknownStep final : public XmlRun {
public:
    explicit XmlUnknownStep(Key key);

    static std::shared_ptr<XmlUnknownStep> createWithTag(const QString& tag);

    // The name it was read under, so that the script writes back as it was.
    QString elementName() const override { return _tag; }
    // Reports "Unknown build step <tag>: nothing was done for it".
    bool run() override;

private:
    QString _tag;
};
