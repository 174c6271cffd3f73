#pragma once

#include <QStringList>

// The application-wide settings the model reads: picture limits, JPEG
// quality, which files count as pictures to import, the before-and-after
// slideshow styles. The application services implement it and install
// themselves for the run; the model never reaches the application in any
// other way.
class ModelSettings {
public:
    virtual ~ModelSettings();

    // The settings of the run; a program must make them before the model
    // asks.
    static const ModelSettings& shared();

    // The largest width and height of an imported picture (0: no setting,
    // the model's own smallest limit holds).
    virtual int maxPictureWidth() const = 0;
    virtual int maxPictureHeight() const = 0;
    // The JPEG factor that image writing uses for a compression of 0.0.
    virtual float jpgCompressionFactor() const = 0;
    // The JPEG factor an image is written with at the compression: the
    // compression itself, or jpgCompressionFactor for 0.0.
    double jpegFactor(float compression) const;
    // The file name extensions (case as written) of pictures that can be imported.
    virtual QStringList allowedImportFileTypes() const = 0;
    // Not 0: slideshows offer the before-and-after styles.
    virtual int enableBeforeAfter() const = 0;

protected:
    // Made, the settings are the run's; destroyed, there are none.
    ModelSettings();
    ModelSettings(const ModelSettings&) = delete;
    ModelSettings& operator=(const ModelSettings&) = delete;
};
