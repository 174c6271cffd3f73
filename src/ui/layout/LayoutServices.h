#pragma once

namespace lq {

struct Services;

// Gives every document window made from now on a layout controller (the
// services' layoutFactory).
void registerLayoutServices(Services& services);

} // namespace lq
