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
#include "model/core/ElementFactory.h"
#include "model/files/FileElements.h"

namespace lq {

void registerImagingElements()
{
    registerFileElements();
    lq::addFactoryTags({
        { "IWcanvas", &lq::makeElement<XmlCanvas> },
        { "IWimage", &lq::makeElement<XmlImage> },
        { "IWletter", &lq::makeElement<XmlDrawLetter> },
        { "IWletterbox", &lq::makeElement<XmlDrawLetterBox> },
        { "IWdrawobject", &lq::makeElement<XmlDrawObject> },
        { "IWdrawcloud", &lq::makeElement<XmlDrawCloud> },
        { "IWdrawballoon", &lq::makeElement<XmlDrawBalloon> },
        { "IWdrawlabel", &lq::makeElement<XmlDrawLabel> },
        { "IWdrawarrow", &lq::makeElement<XmlDrawArrow> },
        { "IWdrawcircle", &lq::makeElement<XmlDrawCircle> },
        { "IWdrawsquare", &lq::makeElement<XmlDrawSquare> },
        { "IWdrawobjects", &lq::makeElement<XmlDrawObjects> },
        { "IWwatermark", &lq::makeElement<XmlWatermark> },
        { "IWshape", &lq::makeElement<XmlShape> },
        { "IWdraw", &lq::makeElement<XmlDraw> },
    });
}

} // namespace lq
