// Dispatch identifiers of the Excel 2003 members the module calls, as the
// Excel type library numbers them. The module reaches a few members by
// number rather than by name (Cells, Rows, Count, RefersTo, a window's
// Visible, Zoom and WindowState, a custom view's Show), so the stand-in
// application must answer to the same numbers; the rest are here so that
// both sides name every member once.
#pragma once

#include <cstdint>

namespace platform::excel::dispid {

inline constexpr std::int32_t Value = 6;
inline constexpr std::int32_t Name = 110;
inline constexpr std::int32_t Delete = 117;
inline constexpr std::int32_t Count = 118;
inline constexpr std::int32_t Item = 170;
inline constexpr std::int32_t Add = 181;
inline constexpr std::int32_t Application = 148;
inline constexpr std::int32_t Creator = 149;
inline constexpr std::int32_t Parent = 150;

// Application
inline constexpr std::int32_t Selection = 147;
inline constexpr std::int32_t Range = 197;
inline constexpr std::int32_t Cells = 238;
inline constexpr std::int32_t Columns = 241;
inline constexpr std::int32_t Rows = 258;
inline constexpr std::int32_t Run = 259;
inline constexpr std::int32_t Quit = 302;
inline constexpr std::int32_t ActiveCell = 305;
inline constexpr std::int32_t ActivePrinter = 306;
inline constexpr std::int32_t ActiveSheet = 307;
inline constexpr std::int32_t ActiveWorkbook = 308;
inline constexpr std::int32_t TemplatesPath = 381;
inline constexpr std::int32_t ShowToolTips = 387;
inline constexpr std::int32_t Windows = 430;
inline constexpr std::int32_t Names = 442;
inline constexpr std::int32_t Sheets = 485;
inline constexpr std::int32_t Worksheets = 494;
inline constexpr std::int32_t Visible = 558;
inline constexpr std::int32_t Workbooks = 572;
inline constexpr std::int32_t ActiveWindow = 759;
inline constexpr std::int32_t AddCustomList = 780;
inline constexpr std::int32_t DeleteCustomList = 783;
inline constexpr std::int32_t GetCustomListNum = 785;
inline constexpr std::int32_t GetCustomListContents = 786;
inline constexpr std::int32_t CustomListCount = 787;
inline constexpr std::int32_t DisplayFullScreen = 1061;
inline constexpr std::int32_t DisplayCommentIndicator = 1196;
inline constexpr std::int32_t CommandBars = 1439;
inline constexpr std::int32_t ShowStartupDialog = 1774;

// Workbooks, Workbook, sheets
inline constexpr std::int32_t Close = 277;
inline constexpr std::int32_t Save = 283;
inline constexpr std::int32_t Unprotect = 285;
inline constexpr std::int32_t Activate = 304;
inline constexpr std::int32_t Select = 235;
inline constexpr std::int32_t Styles = 493;
inline constexpr std::int32_t PageSetup = 998;
inline constexpr std::int32_t Shapes = 1377;
inline constexpr std::int32_t CustomViews = 1424;
inline constexpr std::int32_t Open = 1923;
inline constexpr std::int32_t SaveAs = 1925;
inline constexpr std::int32_t Protect = 2029;

// Range
inline constexpr std::int32_t Orientation = 134;
inline constexpr std::int32_t HorizontalAlignment = 136;
inline constexpr std::int32_t VerticalAlignment = 137;
inline constexpr std::int32_t Interior = 129;
inline constexpr std::int32_t Font = 146;
inline constexpr std::int32_t NumberFormat = 193;
inline constexpr std::int32_t IndentLevel = 201;
inline constexpr std::int32_t MergeCells = 208;
inline constexpr std::int32_t ShrinkToFit = 209;
inline constexpr std::int32_t CurrentRegion = 243;
inline constexpr std::int32_t Formula = 261;
inline constexpr std::int32_t Hidden = 268;
inline constexpr std::int32_t OutlineLevel = 271;
inline constexpr std::int32_t WrapText = 276;
inline constexpr std::int32_t ShowDetail = 585;
inline constexpr std::int32_t ReadingOrder = 975;
inline constexpr std::int32_t AddIndent = 1063;
inline constexpr std::int32_t NoteText = 1127;

// Interior, Font, Name, Window, CustomView, PageSetup
inline constexpr std::int32_t Pattern = 95;
inline constexpr std::int32_t Bold = 96;
inline constexpr std::int32_t ColorIndex = 97;
inline constexpr std::int32_t PatternColorIndex = 100;
inline constexpr std::int32_t Italic = 101;
inline constexpr std::int32_t WindowState = 396;
inline constexpr std::int32_t Show = 496;
inline constexpr std::int32_t Zoom = 663;
inline constexpr std::int32_t RefersTo = 938;
inline constexpr std::int32_t CenterHorizontally = 1005;

}  // namespace platform::excel::dispid
