// Routes a module's imports of one function through another function: each
// import slot of dll in module's image whose target is from gets to. For the
// tests' counting and observing layers; the test build only.
#pragma once

#include <windows.h>

namespace testing_support {

// How many slots were changed.
int RouteImport(HMODULE module, const char* dll, void* from, void* to);

}  // namespace testing_support
