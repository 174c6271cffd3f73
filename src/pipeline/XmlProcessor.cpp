#include "pipeline/XmlProcessor.h"

#include "pipeline/XmlRun.h"
#include "pipeline/XmlUnknownStep.h"
#include "platform/Escaping.h"
#include "platform/ExceptionFrame.h"

#include <QRegularExpression>

XmlProcessor::XmlProcessor(Key key)
    : XmlBase(key)
{
    _have_children = true;
}

std::shared_ptr<XmlProcessor> XmlProcessor::create()
{
    return make<XmlProcessor>();
}

std::shared_ptr<XmlProcessor> XmlProcessor::createWithScript(const QString& text)
{
    return lq::classFrame("XmlProcessor +createWithScript:", [&] {
        if (auto processor = std::dynamic_pointer_cast<XmlProcessor>(createWithXmlRootDir(text, QString())))
            return processor;
        static const QRegularExpression firstTag(QStringLiteral("<\\s*([^\\s/>]+)"));
        const QRegularExpressionMatch match = firstTag.match(text);
        auto processor = create();
        processor->addChild(XmlUnknownStep::createWithTag(match.hasMatch() ? match.captured(1) : QString()));
        return processor;
    });
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

XmlBasePtr XmlProcessor::createChildFromTag(const QString& tag)
{
    return lq::modelFrame(this, "createChildFromTag:", [&]() -> XmlBasePtr {
        if (XmlBasePtr known = XmlBase::createChildFromTag(tag))
            return known;
        return XmlUnknownStep::createWithTag(tag);
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
        xml += QStringLiteral(" rootDir=\"") + lq::escape(_rootDir) + QLatin1Char('"');
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
