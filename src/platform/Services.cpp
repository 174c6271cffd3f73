#include "platform/Services.h"

namespace lq {

namespace {

Services*& installed()
{
    static Services* current = nullptr;
    return current;
}

Services*& installedOnThisThread()
{
    thread_local Services* current = nullptr;
    return current;
}

} // namespace

Services& services()
{
    if (Services* own = installedOnThisThread())
        return *own;
    if (Services* current = installed())
        return *current;
    static Services none;
    return none;
}

ServicesScope::ServicesScope(Services& services)
    : _previous(installed())
{
    installed() = &services;
}

ServicesScope::~ServicesScope()
{
    installed() = _previous;
}

ThreadServicesScope::ThreadServicesScope(Services& services)
    : _previous(installedOnThisThread())
{
    installedOnThisThread() = &services;
}

ThreadServicesScope::~ThreadServicesScope()
{
    installedOnThisThread() = _previous;
}

} // namespace lq
