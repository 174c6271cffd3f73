#include "model/imaging/XmlDrawLetter.h"

#include "platform/graphics/BezierPath.h"
#include "platform/graphics/GraphicsContext.h"

#include <cmath>
#include "platform/ExceptionFrame.h"

XmlDrawLetter::XmlDrawLetter(Key key)
    : XmlDrawObject(key)
{
}

std::shared_ptr<XmlDrawLetter> XmlDrawLetter::create()
{
    return make<XmlDrawLetter>();
}

QString XmlDrawLetter::elementName() const
{
    return QStringLiteral("IWletter");
}


void XmlDrawLetter::draw()
{
    lq::modelFrame(this, "draw", [&] {
        lq::GraphicsContext* context = lq::GraphicsContext::current();
        if (!context)
            return;
        context->setColor(foregroundColor());
        DrawTextContents();
    });
}
