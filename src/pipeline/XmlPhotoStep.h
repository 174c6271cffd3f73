#pragma once

#include "pipeline/XmlRun.h"

class XmlPhoto;

// The base of the steps that make a photo's images: each holds its photo by
// UUID, so a photo deleted before the step runs is simply not found, and
// writes the Activity line "<status> <what the step does>:<picture number>".
class XmlPhotoStep : public XmlRun {
public:
    // "photo"; the rest goes to the base.
    void setAttributeTo(const QString& key, const QString& value) override;

    const QString& photo() const { return _photo; }

    // "<status> " and the step's own line for the photo, and a line feed;
    // "" when the photo is gone or the parent is no processor.
    QString statusMessage() final;

protected:
    explicit XmlPhotoStep(Key key);

    // The photo of the step while it lives, else nothing.
    XmlPhoto* stepPhoto() const;
    // What the step does to the photo: "rebuild photo:<picture number>" ...
    virtual QString activityLine(XmlPhoto& photo) const = 0;

    QString _photo = QStringLiteral("");
};
