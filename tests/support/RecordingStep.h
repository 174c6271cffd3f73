#pragma once
// A processor step whose work the test gives.
#include "pipeline/XmlRun.h"

#include <functional>
#include <memory>

class RecordingStep : public XmlRun {
public:
    explicit RecordingStep(Key key)
        : XmlRun(key)
    {
    }
    static std::shared_ptr<RecordingStep> create(std::function<bool()> body)
    {
        auto step = make<RecordingStep>();
        step->body = std::move(body);
        return step;
    }
    bool run() override { return body(); }
    std::function<bool()> body;
};
