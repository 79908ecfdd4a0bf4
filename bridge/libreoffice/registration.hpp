// Making LibreOffice reachable as Excel is: the hosting code (the player
// with `--app libreoffice`, tests) registers "Excel.application.11" in the
// calling thread's class registry in place of the stand-in, so the module's
// CreateObject starts LibreOffice, and GetObject finds it once visible.
#pragma once

#include "bridge/libreoffice/options.hpp"
#include "platform/com/guid.hpp"

namespace bridge::libreoffice {

// Excel.Application's CLSID, {00024500-0000-0000-C000-000000000046}.
const platform::com::Guid& excel_clsid();

// Registers "Excel.application.11" and "Excel.Application"; each creation
// starts (or attaches to) a LibreOffice with `options`.
void register_libreoffice(BridgeOptions options);

}  // namespace bridge::libreoffice
