#pragma once

#include "pipeline/XmlRun.h"

// The in-memory step that makes one photo's internal images again (queued
// by the site and album rebuilds).
class XmlRebuildPhoto final : public XmlRun {
public:
    explicit XmlRebuildPhoto(Key key);

    static std::shared_ptr<XmlRebuildPhoto> create();
    static XmlRebuildPhoto* cast(XmlBase* object) { return dynamic_cast<XmlRebuildPhoto*>(object); }
    static std::shared_ptr<XmlRebuildPhoto> createForUUID(const QString& photo);

    const QString& photo() const { return _photo; }

    // The photo, when it is still there, makes its internal images. Always true.
    bool run() override;
    // "<status> rebuild photo:<picture number>" and a line feed; "" when the
    // photo is gone or the parent is no processor.
    QString statusMessage() override;

private:
    QString _photo;
};
