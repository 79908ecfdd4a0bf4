// Excel's automation constants for the properties the model holds, so the
// automation layer can hand them out unchanged.
#pragma once

namespace engine::model::xl {

// Horizontal and vertical alignment.
inline constexpr int General = 1;
inline constexpr int Left = -4131;
inline constexpr int Center = -4108;
inline constexpr int Right = -4152;
inline constexpr int Fill = 5;
inline constexpr int Justify = -4130;
inline constexpr int CenterAcrossSelection = 7;
inline constexpr int Distributed = -4117;
inline constexpr int Top = -4160;
inline constexpr int Bottom = -4107;

// Text orientation (or an angle from -90 to 90 degrees).
inline constexpr int Horizontal = -4128;
inline constexpr int Vertical = -4166;
inline constexpr int Upward = -4171;
inline constexpr int Downward = -4170;

// Reading order.
inline constexpr int Context = -5002;
inline constexpr int LTR = -5003;
inline constexpr int RTL = -5004;

// Underline styles.
inline constexpr int UnderlineNone = -4142;
inline constexpr int UnderlineSingle = 2;
inline constexpr int UnderlineDouble = -4119;
inline constexpr int UnderlineSingleAccounting = 4;
inline constexpr int UnderlineDoubleAccounting = 5;

// Interior patterns (the ones Excel 2003 offers).
inline constexpr int PatternNone = -4142;
inline constexpr int Solid = 1;
inline constexpr int Gray75 = -4126;
inline constexpr int Gray50 = -4125;
inline constexpr int Gray25 = -4124;
inline constexpr int Gray16 = 17;
inline constexpr int Gray8 = 18;

// Check box states.
inline constexpr int On = 1;
inline constexpr int Off = -4146;
inline constexpr int Mixed = 2;

// Page orientation.
inline constexpr int Portrait = 1;
inline constexpr int Landscape = 2;

// Window states.
inline constexpr int Normal = -4143;
inline constexpr int Maximized = -4137;
inline constexpr int Minimized = -4140;

// Sheet visibility.
inline constexpr int SheetVisible = -1;
inline constexpr int SheetHidden = 0;
inline constexpr int SheetVeryHidden = 2;

// Where outline summary rows and columns stand.
inline constexpr int SummaryAbove = 0;
inline constexpr int SummaryBelow = 1;

// Subtotal functions, as Range.Subtotal takes them.
inline constexpr int Sum = -4157;
inline constexpr int Count = -4112;
inline constexpr int Average = -4106;
inline constexpr int Max = -4136;
inline constexpr int Min = -4139;
inline constexpr int Product = -4149;
inline constexpr int CountNums = -4113;
inline constexpr int StDev = -4155;
inline constexpr int StDevP = -4156;
inline constexpr int Var = -4164;
inline constexpr int VarP = -4165;

}  // namespace engine::model::xl
