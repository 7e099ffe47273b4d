// The entry of plimb_router.so: a PortMapping behind mapping.h's Mapping.
#include "ui/router/mapping.h"
#include "ui/router/portmapping.h"

extern "C" __attribute__((visibility("default"))) plimb::router::Mapping*
plimb_router_entry_1(const plimb::router::Limits& limits) {
    return new plimb::router::PortMapping(limits);
}
