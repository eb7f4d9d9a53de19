#pragma once

// Owning references to GObjects (accessible objects, windows) for the
// accessibility bridge.

#include "base/glib/glib_handles.h"

namespace kelpo::desktop {

// Holds one reference; made from a pointer whose reference it takes over.
template <typename T>
using ObjectRef = ObjectHandle<T>;

}  // namespace kelpo::desktop
