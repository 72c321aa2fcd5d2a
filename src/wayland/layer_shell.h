// The layer-shell protocol's generated client header, made fit for C++:
// get_layer_surface names an argument "namespace", a keyword here. The
// headers it includes come first, so that the word is swapped for the
// protocol's own lines only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <wayland-client.h>

#define namespace namespace_
#include "wlr-layer-shell-unstable-v1-client-protocol.h"
#undef namespace
