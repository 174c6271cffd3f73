#include "imaging/ImagingElements.h"

#include "imaging/XmlCanvas.h"
#include "imaging/XmlDraw.h"
#include "imaging/XmlDrawArrow.h"
#include "imaging/XmlDrawBalloon.h"
#include "imaging/XmlDrawCircle.h"
#include "imaging/XmlDrawCloud.h"
#include "imaging/XmlDrawLabel.h"
#include "imaging/XmlDrawLetter.h"
#include "imaging/XmlDrawLetterBox.h"
#include "imaging/XmlDrawObject.h"
#include "imaging/XmlDrawObjects.h"
#include "imaging/XmlDrawSquare.h"
#include "imaging/XmlImage.h"
#include "imaging/XmlShape.h"
#include "imaging/XmlWatermark.h"
#include "model/files/FileElements.h"

namespace lq {

void registerImagingElements()
{
    registerFileElements();
    XmlBase::addFactoryTags({
        { "IWcanvas", &XmlBase::makeElement<XmlCanvas> },
        { "IWimage", &XmlBase::makeElement<XmlImage> },
        { "IWletter", &XmlBase::makeElement<XmlDrawLetter> },
        { "IWletterbox", &XmlBase::makeElement<XmlDrawLetterBox> },
        { "IWdrawobject", &XmlBase::makeElement<XmlDrawObject> },
        { "IWdrawcloud", &XmlBase::makeElement<XmlDrawCloud> },
        { "IWdrawballoon", &XmlBase::makeElement<XmlDrawBalloon> },
        { "IWdrawlabel", &XmlBase::makeElement<XmlDrawLabel> },
        { "IWdrawarrow", &XmlBase::makeElement<XmlDrawArrow> },
        { "IWdrawcircle", &XmlBase::makeElement<XmlDrawCircle> },
        { "IWdrawsquare", &XmlBase::makeElement<XmlDrawSquare> },
        { "IWdrawobjects", &XmlBase::makeElement<XmlDrawObjects> },
        { "IWwatermark", &XmlBase::makeElement<XmlWatermark> },
        { "IWshape", &XmlBase::makeElement<XmlShape> },
        { "IWdraw", &XmlBase::makeElement<XmlDraw> },
    });
}

} // namespace lq
