// The layer-shell protocol's generated client header, made fit for C++:
// get_layer_surface names an argument "namespace", a keyword here. The
// headers it includes come first, so that the word is swapped for the
// protocol's own lines only (clang warns of any such swap; this one is
// meant).
#pragma once

#include <cstddef>
#include <cstdint>
#include <wayland-client.h>

#if defined(__clang__)
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wkeyword-macro"
#endif
#define namespace namespace_
#include "wlr-layer-shell-unstable-v1-client-protocol.h"
#undef namespace
#if defined(__clang__)
#pragma clang diagnostic pop
#endif
