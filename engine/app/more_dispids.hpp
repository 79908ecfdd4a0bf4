// Dispatch identifiers of the members the stand-in answers beyond those the
// module calls (platform/excel/dispids.hpp lists those). The numbers are the
// Excel 2003 type library's, so a script that calls them by number reaches
// the same member; the command bars' come from Office's library.
#pragma once

#include <cstdint>

#include "platform/excel/dispids.hpp"

namespace engine::app::dispid {

using namespace platform::excel::dispid;

inline constexpr std::int32_t NewEnum = -4;
inline constexpr std::int32_t Default = 0;
inline constexpr std::int32_t Type = 108;
inline constexpr std::int32_t Position = 133;
inline constexpr std::int32_t Text = 138;
inline constexpr std::int32_t Caption = 139;
inline constexpr std::int32_t Calculate = 279;
inline constexpr std::int32_t FileFormat = 288;
inline constexpr std::int32_t FullName = 289;
inline constexpr std::int32_t Path = 291;
inline constexpr std::int32_t Saved = 298;
inline constexpr std::int32_t DisplayAlerts = 343;
inline constexpr std::int32_t ScreenUpdating = 382;
inline constexpr std::int32_t Version = 392;
inline constexpr std::int32_t Index = 486;
inline constexpr std::int32_t Enabled = 600;
inline constexpr std::int32_t SelectedSheets = 656;
inline constexpr std::int32_t DefaultFilePath = 1038;
inline constexpr std::int32_t ProtectStructure = 588;
inline constexpr std::int32_t ProtectWindows = 295;
inline constexpr std::int32_t Size = 104;
inline constexpr std::int32_t BuiltIn = 553;
inline constexpr std::int32_t NameLocal = 937;
inline constexpr std::int32_t PrintSettings = 1577;
inline constexpr std::int32_t RowColSettings = 1578;
inline constexpr std::int32_t Underline = 106;

}  // namespace engine::app::dispid
