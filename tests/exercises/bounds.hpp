// A rectangle in points, as the other programs report what they draw: a
// drawn object's from its sheet's top-left corner, a printed word's from
// its page's.
#pragma once

namespace exercises::testing {

struct Bounds {
  double left = 0;
  double top = 0;
  double width = 0;
  double height = 0;

  double right() const { return left + width; }
  double bottom() const { return top + height; }
  // Whether `inner` lies within this rectangle, `slack` points allowed on each side.
  bool holds(const Bounds& inner, double slack) const {
    return inner.left >= left - slack && inner.top >= top - slack && inner.right() <= right() + slack &&
           inner.bottom() <= bottom() + slack;
  }
};

}  // namespace exercises::testing
