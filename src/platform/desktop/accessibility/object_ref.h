#pragma once

// Owning references to GObjects (accessible objects, windows) for the
// accessibility bridge.

#include <glib-object.h>

#include <memory>

namespace kelpo::desktop {

struct ObjectUnref {
  void operator()(gpointer object) const { g_object_unref(object); }
};

// Holds one reference; made from a pointer whose reference it takes over.
template <typename T>
using ObjectRef = std::unique_ptr<T, ObjectUnref>;

}  // namespace kelpo::desktop
