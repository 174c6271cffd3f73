#include "pipeline/ScriptSteps.h"

#include "model/core/ElementFactory.h"
#include "theme/ThemeElements.h"
#include "pipeline/XmlCopy.h"
#include "pipeline/XmlCreate.h"
#include "pipeline/XmlCreateBitmapSlice.h"
#include "pipeline/XmlCreateSlide.h"
#include "pipeline/XmlCreateWebBitmap.h"
#include "pipeline/XmlCreateWebImage.h"
#include "pipeline/XmlCreateWinIEBitmap.h"
#include "pipeline/XmlPasswordProtect.h"
#include "pipeline/XmlProcessor.h"

namespace lq {

namespace {

template <class T>
XmlBasePtr makeStep()
{
    return T::create();
}

} // namespace

void registerScriptSteps()
{
    registerThemeElements();
    lq::addFactoryTags({
        { "QZprocessor", &makeStep<XmlProcessor> },
        { "QZcreate", &makeStep<XmlCreate> },
        { "QZcopy", &makeStep<XmlCopy> },
        { "QZpassword", &makeStep<XmlPasswordProtect> },
        { "QZcreateWebImage", &makeStep<XmlCreateWebImage> },
        { "QZcreateWebBitmap", &makeStep<XmlCreateWebBitmap> },
        { "QZcreateBitmapSlice", &makeStep<XmlCreateBitmapSlice> },
        { "QZcreateWinIEBitmap", &makeStep<XmlCreateWinIEBitmap> },
        { "QZcreateSlide", &makeStep<XmlCreateSlide> },
    });
}

} // namespace lq
