// Formula token numbers. Operand tokens from 0x20 on come in three classes
// (reference 0x20, value 0x40, array 0x60); the names here are the
// reference-class numbers, the class added when a token is written.
#pragma once

#include <cstdint>

namespace engine::xls::tok {

inline constexpr std::uint8_t Exp = 0x01, Tbl = 0x02, Add = 0x03, Sub = 0x04, Mul = 0x05, Div = 0x06,
                              Power = 0x07, Concat = 0x08, Lt = 0x09, Le = 0x0A, Eq = 0x0B, Ge = 0x0C,
                              Gt = 0x0D, Ne = 0x0E, Isect = 0x0F, Union = 0x10, Range = 0x11, Uplus = 0x12,
                              Uminus = 0x13, Percent = 0x14, Paren = 0x15, MissArg = 0x16, Str = 0x17,
                              Attr = 0x19, Err = 0x1C, Bool = 0x1D, Int = 0x1E, Num = 0x1F;

inline constexpr std::uint8_t Array = 0x20, Func = 0x21, FuncVar = 0x22, Name = 0x23, Ref = 0x24, Area = 0x25,
                              MemArea = 0x26, MemErr = 0x27, MemNoMem = 0x28, MemFunc = 0x29, RefErr = 0x2A,
                              AreaErr = 0x2B, RefN = 0x2C, AreaN = 0x2D, NameX = 0x39, Ref3d = 0x3A,
                              Area3d = 0x3B, RefErr3d = 0x3C, AreaErr3d = 0x3D;

inline constexpr std::uint8_t ClassReference = 0x00, ClassValue = 0x20, ClassArray = 0x40;

// The function number of a tFuncVar calling an add-in function, whose name
// the tNameX before its arguments gives.
inline constexpr std::uint16_t AddinFunction = 255;

// Flags of the attribute token.
inline constexpr std::uint8_t AttrVolatile = 0x01, AttrIf = 0x02, AttrChoose = 0x04, AttrGoto = 0x08,
                              AttrSum = 0x10, AttrSpace = 0x40;

}  // namespace engine::xls::tok
