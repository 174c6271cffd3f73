#include "model/imaging/XmlDrawLetterBox.h"

#include "platform/graphics/BezierPath.h"
#include "platform/graphics/GraphicsContext.h"

#include <cmath>
#include "platform/ExceptionFrame.h"

XmlDrawLetterBox::XmlDrawLetterBox(Key key)
    : XmlDrawObject(key)
{
}

std::shared_ptr<XmlDrawLetterBox> XmlDrawLetterBox::create()
{
    return make<XmlDrawLetterBox>();
}

QString XmlDrawLetterBox::elementName() const
{
    return QStringLiteral("IWletterbox");
}


void XmlDrawLetterBox::draw()
{
    lq::modelFrame(this, "draw", [&] {
        lq::GraphicsContext* context = lq::GraphicsContext::current();
        if (!context)
            return;
        context->setColor(backgroundColor());
        context->fillRect(bodyRect());
        context->setColor(foregroundColor());
        DrawTextContents();
    });
}
