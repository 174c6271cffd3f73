#include "platform/Services.h"

namespace lq {

namespace {

Services*& installed()
{
    static Services* current = nullptr;
    return current;
}

} // namespace

Services& services()
{
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

} // namespace lq
