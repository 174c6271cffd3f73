#include "pipeline/XmlRun.h"

#include "pipeline/XmlProcessor.h"
#include "model/core/DocumentBase.h"
#include "platform/ExceptionFrame.h"
#include "platform/Log.h"

XmlRun::XmlRun(Key key)
    : XmlBase(key)
{
}

std::shared_ptr<XmlRun> XmlRun::create()
{
    return make<XmlRun>();
}

bool XmlRun::run()
{
    return false;
}

XmlProcessor* XmlRun::processor() const
{
    return XmlProcessor::cast(parent());
}

QString XmlRun::processorStatus() const
{
    const XmlProcessor* owner = processor();
    return owner ? owner->statusMessage() : QString();
}

QString XmlRun::statusMessage()
{
    return lq::modelFrame(this, "statusMessage", [&]() -> QString {
        if (!processor())
            return QStringLiteral("");
        return processorStatus() + QLatin1Char('\n');
    });
}

void XmlRun::reportFailure(const QString& line)
{
    _failure = line;
    lq::log(line);
    if (_document)
        _document->addActivityString(line);
}
