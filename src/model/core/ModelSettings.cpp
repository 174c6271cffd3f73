#include "model/core/ModelSettings.h"

#include <cstdio>
#include <cstdlib>

namespace {
const ModelSettings* theSettings = nullptr;
}

ModelSettings::ModelSettings()
{
    theSettings = this;
}

ModelSettings::~ModelSettings()
{
    if (theSettings == this)
        theSettings = nullptr;
}

const ModelSettings& ModelSettings::shared()
{
    if (!theSettings) {
        std::fputs("Lumenquill: the model's settings are read before they were made\n", stderr);
        std::abort();
    }
    return *theSettings;
}

double ModelSettings::jpegFactor(float compression) const
{
    return compression == 0.0f ? jpgCompressionFactor() : compression;
}
