#pragma once

#include "pipeline/XmlPhotoStep.h"

// The in-memory step that makes one photo's internal images again (queued
// by the site and album rebuilds).
class XmlRebuildPhoto final : public XmlPhotoStep {
public:
    explicit XmlRebuildPhoto(Key key);

    static std::shared_ptr<XmlRebuildPhoto> create();
    static XmlRebuildPhoto* cast(XmlBase* object) { return dynamic_cast<XmlRebuildPhoto*>(object); }
    static std::shared_ptr<XmlRebuildPhoto> createForUUID(const QString& photo);

    // The photo, when it is still there, makes its internal images. Always true.
    bool run() override;

protected:
    // "rebuild photo:<picture number>"
    QString activityLine(XmlPhoto& photo) const override;
};
