// Making the stand-in reachable as Excel is: the hosting code (tests, the
// command line) registers "Excel.application.11" in the calling thread's
// class registry, so CreateObject and GetObject find it. The module itself
// never calls this; it only creates the class by name.
#pragma once

#include "engine/app/application.hpp"
#include "platform/com/guid.hpp"

namespace engine::app {

// Excel.Application's CLSID, {00024500-0000-0000-C000-000000000046}.
const platform::com::Guid& excel_clsid();

// Registers "Excel.application.11" and the version-independent
// "Excel.Application" (both creatable); each creation is a new instance
// made with `options`.
void register_excel(ApplicationOptions options = {});

}  // namespace engine::app
