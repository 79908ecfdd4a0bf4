// Sheet and workbook protection, with the 16-bit password hash Excel stores
// in its PASSWORD records (the password itself is never kept).
#pragma once

#include <cstdint>
#include <string_view>

namespace engine::model {

// Excel's legacy password verifier; 0 for the empty password (no password).
std::uint16_t password_hash(std::string_view password);

struct SheetProtection {
  bool contents = false;
  bool drawing_objects = false;
  bool scenarios = false;
  std::uint16_t password_hash = 0;  // 0: none

  bool is_protected() const { return contents || drawing_objects || scenarios; }
};

struct WorkbookProtection {
  bool structure = false;
  bool windows = false;
  std::uint16_t password_hash = 0;
};

// Protect with Excel's defaults (all three parts); unprotect raises 1004 when
// the password does not match the stored hash.
void protect(SheetProtection& protection, std::string_view password, bool contents = true,
             bool drawing_objects = true, bool scenarios = true);
void unprotect(SheetProtection& protection, std::string_view password);

}  // namespace engine::model
