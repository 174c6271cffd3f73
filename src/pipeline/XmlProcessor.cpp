#include "pipeline/XmlProcessor.h"

#include "pipeline/XmlRun.h"
#include "platform/ExceptionFrame.h"

XmlProcessor::XmlProcessor(Key key)
    : XmlBase(key)
{
    _have_children = true;
}

std::shared_ptr<XmlProcessor> XmlProcessor::create()
{
    return make<XmlProcessor>();
}

QString XmlProcessor::elementName() const
{
    return QStringLiteral("QZprocessor");
}

bool XmlProcessor::canYouBeMyParent(XmlBase* child)
{
    return lq::modelFrame(this, "canYouBeMyParent:", [&] {
        return XmlRun::cast(child) != nullptr;
    });
}

void XmlProcessor::setAttributeTo(const QString& key, const QString& value)
{
    lq::modelFrame(this, "setAttribute:to:", [&] {
        if (key == QStringLiteral("rootDir"))
            setRootDir(value);
        else if (key == QStringLiteral("status"))
            setStatusMessage(value);
        else
            XmlBase::setAttributeTo(key, value);
    });
}

void XmlProcessor::appendAttributes(QString& xml)
{
    lq::modelFrame(this, "appendAttributes:", [&] {
        XmlBase::appendAttributes(xml);
        xml += QStringLiteral(" rootDir=\"") + escape(_rootDir) + QLatin1Char('"');
    });
}

double XmlProcessor::progress() const
{
    if (_totalCount == 0)
        return 50.0;
    return static_cast<double>(_totalCount - numberChildren()) * 100.0 / _totalCount;
}

bool XmlProcessor::run()
{
    return lq::modelFrame(this, "run", [&] {
        if (_rootDir.isEmpty())
            return true;
        for (const XmlBasePtr& child : children())
            if (XmlRun* step = XmlRun::cast(child.get()))
                step->run();
        return true;
    });
}
