#include "platform/fs/dir.hpp"

#include <vector>

#include "platform/com/error.hpp"
#include "platform/fs/listing.hpp"

namespace platform::fs {

namespace {

struct Listing {
  std::vector<std::string> names;
  std::size_t next = 0;
  bool active = false;
};

// The runtime's per-thread listing in progress.
thread_local Listing t_listing;

std::string take_next() {
  if (t_listing.next < t_listing.names.size()) return t_listing.names[t_listing.next++];
  t_listing = Listing{};
  return {};
}

}  // namespace

std::string Dir(std::string_view pattern, std::int32_t attributes) {
  t_listing = Listing{list_matching(pattern, attributes).names, 0, true};
  return take_next();
}

std::string Dir() {
  if (!t_listing.active) platform::com::raise(platform::com::err::InvalidCall);
  return take_next();
}

}  // namespace platform::fs
