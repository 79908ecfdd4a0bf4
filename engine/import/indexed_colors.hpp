// Colour indexes as BIFF8 records and SpreadsheetML's `indexed` attribute
// both give them, mapped to the model's palette entries.
#pragma once

namespace engine::import {

// 0-7 are the fixed EGA colours (black, white, red, green, blue, yellow,
// magenta, cyan: the first palette entries), 8-63 the palette's 56 entries,
// 64 and over the system's colours, which read as `automatic`.
int palette_index_of_indexed(long long index, int automatic);

}  // namespace engine::import
