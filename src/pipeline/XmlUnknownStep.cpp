#include "pipeline/XmlUnknownStep.h"

#include "platform/ExceptionFrame.h"

XmlUnknownStep::XmlUnknownStep(Key key)
    : XmlRun(key)
{
}

std::shared_ptr<XmlUnknownStep> XmlUnknownStep::createWithTag(const QString& tag)
{
    auto step = make<XmlUnknownStep>();
    step->_tag = tag;
    return step;
}

bool XmlUnknownStep::run()
{
    return lq::modelFrame(this, "run", [&] {
        reportFailure(QStringLiteral("Unknown build step <") + _tag + QStringLiteral(">: nothing was done for it"));
        return false;
    });
}
