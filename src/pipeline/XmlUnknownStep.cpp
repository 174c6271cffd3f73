#include "pipeline/XmlUnknownStep.h"

#include "platform/ExceptionFrame.h"

XmlUnknownStep::XmlUnknownStep(Key key)
    : XmlRun(key)
{
}

std::shared_ptr<XmlUnknownStep> XmlUnknownStep::createWithTag(const QString& tag)
{
    auto step = make<XmlUnknownStep>();
    // Its own copy of the characters: the tag may be borrowed from the text being read.
    step->_tag = QString(tag.constData(), tag.size());
    return step;
}

bool XmlUnknownStep::run()
{
    return lq::modelFrame(this, "run", [&] {
        reportFailure(QStringLiteral("Unknown build step <") + _tag + QStringLiteral(">: nothing was done for it"));
        return false;
    });
}
