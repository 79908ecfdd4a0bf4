// The .xls reader and writer raise the format-neutral FileError (runtime
// error 1004 naming the file) that every workbook reader shares.
#pragma once

#include "engine/import/file_error.hpp"

namespace engine::xls {

using import::fail;
using import::FileError;

}  // namespace engine::xls
