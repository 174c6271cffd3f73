#pragma once

// A page element that notes the hover and click calls it gets from the
// layout canvas, each as "<call> <data>" ("mouseDown: 3"); it can also run
// a task inside one of them.
#include "templates/XmlCSS.h"

#include <QStringList>

#include <functional>
#include <memory>

class MouseSpyElement : public XmlCSS {
public:
    explicit MouseSpyElement(Key key)
        : XmlCSS(key)
    {
    }
    static std::shared_ptr<MouseSpyElement> create() { return make<MouseSpyElement>(); }

    void mouseEntered(const QString& data) override { note("mouseEntered:", data); }
    void mouseExited(const QString& data) override { note("mouseExited:", data); }
    void mouseDown(const QString& data) override { note("mouseDown:", data); }
    void mouseClick(const QString& data) override { note("mouseClick:", data); }

    // The calls since the last look.
    QStringList taken()
    {
        QStringList noted = calls;
        calls.clear();
        return noted;
    }

    QStringList calls;
    std::function<void()> duringCall;

private:
    void note(const char* call, const QString& data)
    {
        calls.append(QLatin1String(call) + QLatin1Char(' ') + data);
        if (duringCall)
            duringCall();
    }
};
