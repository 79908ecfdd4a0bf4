// The summary a workbook carries about itself (File > Properties, Summary
// tab): what Excel keeps in a file's summary property set.
#pragma once

#include <string>

namespace engine::model {

struct DocumentProperties {
  std::string title;
  std::string subject;
  std::string author;

  friend bool operator==(const DocumentProperties&, const DocumentProperties&) = default;
};

}  // namespace engine::model
