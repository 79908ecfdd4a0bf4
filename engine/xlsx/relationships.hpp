// A part's relationships (the "_rels/<part>.rels" entry beside it): which
// other parts it uses, by id and by type, with targets resolved to entry
// names. External targets (a hyperlink, another workbook) are kept apart:
// nothing is ever read from outside the package.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/package/zip_archive.hpp"

namespace engine::xlsx {

struct Relationship {
  std::string id;
  std::string type;    // the full type URI
  std::string target;  // the entry name, resolved
  bool external = false;
};

class Relationships {
 public:
  // The relationships of `part`; none when it has no .rels entry.
  static Relationships of_part(package::ZipArchive& archive, std::string_view part);

  // The internal relationship with that id, or nullptr.
  const Relationship* by_id(std::string_view id) const;
  // The first internal relationship whose type ends with "/" + `kind`
  // ("worksheet", "comments", "vmlDrawing"...), or nullptr: the type's
  // prefix differs between the transitional and strict schemas.
  const Relationship* first_of_kind(std::string_view kind) const;

 private:
  std::vector<Relationship> items_;
};

// Whether a relationship's type ends with "/" + kind.
bool is_kind(const Relationship& relationship, std::string_view kind);

}  // namespace engine::xlsx
