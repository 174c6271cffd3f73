#pragma once

#include "pipeline/XmlRun.h"

#include <functional>

// A step that calls back into the program: it performs its task once every
// script queued before it has run, so a command of several stages (an
// export) can go on where the previous stage's work ends.
class XmlCallSelector : public XmlRun {
public:
    explicit XmlCallSelector(Key key);

    static std::shared_ptr<XmlCallSelector> create();
    static XmlCallSelector* cast(XmlBase* object) { return dynamic_cast<XmlCallSelector*>(object); }
    // A step named after the task, which runs the call.
    static std::shared_ptr<XmlCallSelector> createWithTask(const QString& task, std::function<void()> call);

    const QString& task() const { return _task; }
    // Makes the call; answers false.
    bool run() override;

private:
    QString _task;
    std::function<void()> _call;
};
