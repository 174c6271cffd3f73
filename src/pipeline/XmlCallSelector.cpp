#include "pipeline/XmlCallSelector.h"

#include "platform/ExceptionFrame.h"

XmlCallSelector::XmlCallSelector(Key key)
    : XmlRun(key)
{
}

std::shared_ptr<XmlCallSelector> XmlCallSelector::create()
{
    return make<XmlCallSelector>();
}

std::shared_ptr<XmlCallSelector> XmlCallSelector::createWithTask(const QString& task, std::function<void()> call)
{
    auto step = create();
    step->_task = task;
    step->_call = std::move(call);
    return step;
}

bool XmlCallSelector::run()
{
    return lq::modelFrame(this, "run", [&] {
        if (_call)
            _call();
        return false;
    });
}
