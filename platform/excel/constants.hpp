// Excel 2003's and Office's enumeration constants, as the object model
// takes and returns them.
#pragma once

#include <cstdint>

namespace platform::excel {

// Locale the module passes to members that take one (US English).
inline constexpr std::int32_t kLocaleUsEnglish = 1033;

// Window state.
inline constexpr std::int32_t xlMaximized = -4137;
inline constexpr std::int32_t xlMinimized = -4140;
inline constexpr std::int32_t xlNormal = -4143;

// Alignment and orientation.
inline constexpr std::int32_t xlGeneral = 1;
inline constexpr std::int32_t xlLeft = -4131;
inline constexpr std::int32_t xlCenter = -4108;
inline constexpr std::int32_t xlRight = -4152;
inline constexpr std::int32_t xlTop = -4160;
inline constexpr std::int32_t xlBottom = -4107;
inline constexpr std::int32_t xlJustify = -4130;
inline constexpr std::int32_t xlDistributed = -4117;
inline constexpr std::int32_t xlFill = 5;
inline constexpr std::int32_t xlCenterAcrossSelection = 7;
inline constexpr std::int32_t xlHorizontal = -4128;
inline constexpr std::int32_t xlVertical = -4166;
inline constexpr std::int32_t xlUpward = -4171;
inline constexpr std::int32_t xlDownward = -4170;
inline constexpr std::int32_t xlContext = -5002;
inline constexpr std::int32_t xlLTR = -5003;
inline constexpr std::int32_t xlRTL = -5004;

// Interior.
inline constexpr std::int32_t xlSolid = 1;
inline constexpr std::int32_t xlNone = -4142;
inline constexpr std::int32_t xlAutomatic = -4105;

// Check boxes.
inline constexpr std::int32_t xlOn = 1;
inline constexpr std::int32_t xlOff = -4146;
inline constexpr std::int32_t xlMixed = 2;

// Comment indicator.
inline constexpr std::int32_t xlNoIndicator = 0;
inline constexpr std::int32_t xlCommentIndicatorOnly = -1;
inline constexpr std::int32_t xlCommentAndIndicator = 1;

// Page setup.
inline constexpr std::int32_t xlPortrait = 1;
inline constexpr std::int32_t xlLandscape = 2;

// File formats.
inline constexpr std::int32_t xlWorkbookNormal = -4143;
inline constexpr std::int32_t xlTemplate = 17;

// Subtotal functions.
inline constexpr std::int32_t xlSum = -4157;
inline constexpr std::int32_t xlCount = -4112;
inline constexpr std::int32_t xlAverage = -4106;
inline constexpr std::int32_t xlMax = -4136;
inline constexpr std::int32_t xlMin = -4139;

// Directions and shifts.
inline constexpr std::int32_t xlUp = -4162;
inline constexpr std::int32_t xlDown = -4121;
inline constexpr std::int32_t xlToLeft = -4159;
inline constexpr std::int32_t xlToRight = -4161;
inline constexpr std::int32_t xlShiftUp = xlUp;
inline constexpr std::int32_t xlShiftDown = xlDown;
inline constexpr std::int32_t xlShiftToLeft = xlToLeft;
inline constexpr std::int32_t xlShiftToRight = xlToRight;

// Paste special.
inline constexpr std::int32_t xlPasteAll = -4104;
inline constexpr std::int32_t xlPasteValues = -4163;
inline constexpr std::int32_t xlPasteFormats = -4122;
inline constexpr std::int32_t xlPasteFormulas = -4123;
inline constexpr std::int32_t xlPasteSpecialOperationNone = -4142;
// What the Page Setup dialog's recording names.
inline constexpr std::int32_t xlPrintNoComments = -4142;
inline constexpr std::int32_t xlDownThenOver = 1;
inline constexpr std::int32_t xlOverThenDown = 2;
inline constexpr std::int32_t xlPrintErrorsDisplayed = 0;
inline constexpr std::int32_t xlPaperA4 = 9;
inline constexpr std::int32_t xlPaperLetter = 1;
// The autoshapes of the Drawing toolbar.
inline constexpr std::int32_t msoShapeRectangle = 1;
inline constexpr std::int32_t msoShapeOval = 9;
// The underline styles the Font dialog's recording names.
inline constexpr std::int32_t xlUnderlineStyleNone = -4142;
inline constexpr std::int32_t xlUnderlineStyleSingle = 2;
inline constexpr std::int32_t xlUnderlineStyleDouble = -4119;

// Sheets and new workbooks.
inline constexpr std::int32_t xlSheetVisible = -1;
inline constexpr std::int32_t xlSheetHidden = 0;
inline constexpr std::int32_t xlSheetVeryHidden = 2;
inline constexpr std::int32_t xlWBATWorksheet = -4167;

// AutoFilter operators.
inline constexpr std::int32_t xlAnd = 1;
inline constexpr std::int32_t xlOr = 2;
inline constexpr std::int32_t xlTop10Items = 3;
inline constexpr std::int32_t xlBottom10Items = 4;
inline constexpr std::int32_t xlTop10Percent = 5;
inline constexpr std::int32_t xlBottom10Percent = 6;

// Form controls and shapes.
inline constexpr std::int32_t xlCheckBox = 1;
inline constexpr std::int32_t msoTextOrientationHorizontal = 1;

// Office command-bar positions.
inline constexpr std::int32_t msoBarLeft = 0;
inline constexpr std::int32_t msoBarTop = 1;
inline constexpr std::int32_t msoBarRight = 2;
inline constexpr std::int32_t msoBarBottom = 3;
inline constexpr std::int32_t msoBarFloating = 4;

// Cell error values, as CVErr codes.
inline constexpr std::int32_t xlErrNull = 2000;
inline constexpr std::int32_t xlErrDiv0 = 2007;
inline constexpr std::int32_t xlErrValue = 2015;
inline constexpr std::int32_t xlErrRef = 2023;
inline constexpr std::int32_t xlErrName = 2029;
inline constexpr std::int32_t xlErrNum = 2036;
inline constexpr std::int32_t xlErrNA = 2042;

struct NamedConstant {
  const char* name;
  std::int32_t value;
};

// Every constant above by its name, for scripts that spell them out.
inline constexpr NamedConstant kNamedConstants[] = {
    {"xlMaximized", xlMaximized}, {"xlMinimized", xlMinimized}, {"xlNormal", xlNormal},
    {"xlGeneral", xlGeneral}, {"xlLeft", xlLeft}, {"xlCenter", xlCenter}, {"xlRight", xlRight},
    {"xlTop", xlTop}, {"xlBottom", xlBottom}, {"xlJustify", xlJustify}, {"xlDistributed", xlDistributed},
    {"xlFill", xlFill}, {"xlCenterAcrossSelection", xlCenterAcrossSelection}, {"xlHorizontal", xlHorizontal},
    {"xlVertical", xlVertical}, {"xlUpward", xlUpward}, {"xlDownward", xlDownward}, {"xlContext", xlContext},
    {"xlLTR", xlLTR}, {"xlRTL", xlRTL}, {"xlSolid", xlSolid}, {"xlNone", xlNone}, {"xlAutomatic", xlAutomatic},
    {"xlOn", xlOn}, {"xlOff", xlOff}, {"xlMixed", xlMixed}, {"xlNoIndicator", xlNoIndicator},
    {"xlCommentIndicatorOnly", xlCommentIndicatorOnly}, {"xlCommentAndIndicator", xlCommentAndIndicator},
    {"xlPortrait", xlPortrait}, {"xlLandscape", xlLandscape}, {"xlWorkbookNormal", xlWorkbookNormal},
    {"xlTemplate", xlTemplate}, {"xlSheetVisible", xlSheetVisible}, {"xlSheetHidden", xlSheetHidden},
    {"xlSheetVeryHidden", xlSheetVeryHidden}, {"xlWBATWorksheet", xlWBATWorksheet}, {"xlCheckBox", xlCheckBox},
    {"msoTextOrientationHorizontal", msoTextOrientationHorizontal}, {"xlSum", xlSum}, {"xlCount", xlCount}, {"xlAverage", xlAverage},
    {"xlMax", xlMax}, {"xlMin", xlMin}, {"xlUp", xlUp}, {"xlDown", xlDown}, {"xlToLeft", xlToLeft},
    {"xlToRight", xlToRight}, {"xlShiftUp", xlShiftUp}, {"xlShiftDown", xlShiftDown},
    {"xlShiftToLeft", xlShiftToLeft}, {"xlShiftToRight", xlShiftToRight}, {"xlPasteAll", xlPasteAll},
    {"xlPasteValues", xlPasteValues}, {"xlPasteFormats", xlPasteFormats}, {"xlPasteFormulas", xlPasteFormulas},
    {"xlPasteSpecialOperationNone", xlPasteSpecialOperationNone}, {"msoBarLeft", msoBarLeft},
    {"msoBarTop", msoBarTop}, {"msoBarRight", msoBarRight}, {"msoBarBottom", msoBarBottom},
    {"msoBarFloating", msoBarFloating}, {"xlErrNull", xlErrNull}, {"xlErrDiv0", xlErrDiv0},
    {"xlErrValue", xlErrValue}, {"xlErrRef", xlErrRef}, {"xlErrName", xlErrName}, {"xlErrNum", xlErrNum},
    {"xlErrNA", xlErrNA}, {"xlUnderlineStyleNone", xlUnderlineStyleNone},
    {"xlUnderlineStyleSingle", xlUnderlineStyleSingle}, {"xlUnderlineStyleDouble", xlUnderlineStyleDouble},
    {"xlPrintNoComments", xlPrintNoComments}, {"xlDownThenOver", xlDownThenOver}, {"xlOverThenDown", xlOverThenDown},
    {"xlPrintErrorsDisplayed", xlPrintErrorsDisplayed}, {"xlPaperA4", xlPaperA4}, {"xlPaperLetter", xlPaperLetter},
    {"msoShapeRectangle", msoShapeRectangle}, {"msoShapeOval", msoShapeOval},
    {"xlAnd", xlAnd}, {"xlOr", xlOr}, {"xlTop10Items", xlTop10Items}, {"xlBottom10Items", xlBottom10Items},
    {"xlTop10Percent", xlTop10Percent}, {"xlBottom10Percent", xlBottom10Percent},
};

}  // namespace platform::excel
