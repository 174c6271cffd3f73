#pragma once

// Changes the program's hooks (lq::Services) for as long as it lives: it
// installs a copy of the services in place, changed by the function given,
// and puts the ones before back when it goes, so that a test's hooks, and
// whatever the test or the code under test sets in them while it runs
// (lq::services().siteBuilder = ...), never reach the next test. A fixture
// that changes hooks in its tests holds one made without a function.
//
//     const ScopedServices panels([](lq::Services& services) {
//         services.panelFactory = [](EditorKind kind) { ... };
//     });
//     const ScopedServices library([](lq::Services& services) {
//         lq::registerPhotoLibraryServices(services, MyApplication::shared());
//     });
#include "platform/Services.h"

#include <functional>

class ScopedServices {
public:
    ScopedServices()
        : _services(lq::services())
        , _installed(_services)
    {
    }
    explicit ScopedServices(const std::function<void(lq::Services&)>& change)
        : _services(lq::services())
        , _installed(_services)
    {
        change(_services);
    }
    ScopedServices(const ScopedServices&) = delete;
    ScopedServices& operator=(const ScopedServices&) = delete;

private:
    lq::Services _services;
    lq::ServicesScope _installed;
};
