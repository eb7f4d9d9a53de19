#pragma once

// A font request is part of a view's description, so it lives with the
// views (views/font.h); this path stays for code outside the engine that
// still includes it from here.

#include "platform/ui/views/font.h"
