// What a Font or Interior object formats: the cells of a range, or a cell
// style. Font and Interior read and write through it, so that Range.Font
// and Style.Font are one class.
#pragma once

#include <functional>
#include <memory>

#include "engine/model/cell_format.hpp"
#include "engine/model/palette.hpp"
#include "platform/com/dispatch.hpp"
#include "platform/com/variant.hpp"

namespace engine::app {

class FormatTarget {
 public:
  virtual ~FormatTarget() = default;

  // The value `get` reads from the target's formats, or Null when they differ.
  virtual platform::com::Variant read(const std::function<platform::com::Variant(const model::CellFormat&)>& get) const = 0;
  // Applies `change` to every format of the target; refusals raise 1004.
  virtual void write(const std::function<void(model::CellFormat&)>& change) = 0;
  // The palette colour indexes resolve through.
  virtual const model::Palette& palette() const = 0;
  // The object whose Font or Interior this is (Parent).
  virtual std::shared_ptr<platform::com::Dispatch> parent() const = 0;
};

}  // namespace engine::app
