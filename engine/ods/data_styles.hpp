// Data styles, OpenDocument's number formats (number:number-style,
// number:percentage-style, number:currency-style, number:date-style,
// number:time-style, number:boolean-style, number:text-style), turned into
// the Excel format codes the model keeps ("0.00%", "dd/mm/yyyy", "@\"-52\"").
//
// Lifetime: the table keeps pointers to the elements it was given; the
// XmlParts holding them must outlive it.
#pragma once

#include <libxml/tree.h>

#include <map>
#include <string>
#include <string_view>

namespace engine::ods {

class DataStyles {
 public:
  // Takes every data style among the children of `container`
  // (office:styles or office:automatic-styles of styles.xml or content.xml).
  void add_children_of(const xmlNode& container);

  // The Excel code of the style named `name`; "General" for a name no part
  // defines, as LibreOffice shows such a cell.
  std::string code(std::string_view name) const;

 private:
  std::string sections(const xmlNode& element, int depth) const;

  std::map<std::string, const xmlNode*, std::less<>> elements_;
  mutable std::map<std::string, std::string, std::less<>> codes_;
};

}  // namespace engine::ods
