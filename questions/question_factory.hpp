// The question object of a number, as InitQuestion creates it.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/com/dispatch.hpp"

namespace d72506 {

// A new question object for 601 to 615; none (nullptr) for a number
// without a class.
std::shared_ptr<platform::com::Dispatch> CreeQuestion(std::int32_t ilQuestion);

}  // namespace d72506
