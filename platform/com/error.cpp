#include "platform/com/error.hpp"

#include <utility>

namespace platform::com {

namespace {

constexpr std::uint32_t kRuntimeFacility = 0x800A0000u;

struct StatusNumber {
  HRESULT status;
  std::int32_t number;
};

// Dispatch statuses the runtime reports under its own numbers.
constexpr StatusNumber kStatusNumbers[] = {
    {DISP_E_TYPEMISMATCH, err::TypeMismatch},  {DISP_E_BADINDEX, err::SubscriptOutOfRange},
    {DISP_E_OVERFLOW, err::Overflow},          {E_INVALIDARG, err::InvalidCall},
    {DISP_E_MEMBERNOTFOUND, err::MemberNotFound},
};

}  // namespace

std::int32_t number_from_hresult(HRESULT hr) {
  const auto bits = static_cast<std::uint32_t>(hr);
  if ((bits & 0xFFFF0000u) == kRuntimeFacility) return static_cast<std::int32_t>(bits & 0xFFFFu);
  for (const auto& entry : kStatusNumbers)
    if (entry.status == hr) return entry.number;
  return hr;
}

HRESULT hresult_from_number(std::int32_t number) {
  if (number > 0 && number <= 0xFFFF) return static_cast<HRESULT>(kRuntimeFacility | static_cast<std::uint32_t>(number));
  return number;  // already an HRESULT (negative), or 0
}

std::string default_description(std::int32_t number) {
  switch (number) {
    case err::InvalidCall: return "Invalid procedure call or argument";
    case err::Overflow: return "Overflow";
    case err::OutOfMemory: return "Out of memory";
    case err::SubscriptOutOfRange: return "Subscript out of range";
    case err::TypeMismatch: return "Type mismatch";
    case err::OutOfStackSpace: return "Out of stack space";
    case err::FileNotFound: return "File not found";
    case err::FileAlreadyExists: return "File already exists";
    case err::PathFileAccess: return "Path/File access error";
    case err::PathNotFound: return "Path not found";
    case err::ObjectNotSet: return "Object variable or With block variable not set";
    case err::InvalidUseOfNull: return "Invalid use of Null";
    case err::ObjectRequired: return "Object required";
    case err::CantCreateObject: return "ActiveX component can't create object";
    case err::MemberNotFound: return "Object doesn't support this property or method";
    case err::NamedArgumentNotFound: return "Named argument not found";
    case err::ArgumentNotOptional: return "Argument not optional";
    case err::WrongNumberOfArguments: return "Wrong number of arguments or invalid property assignment";
    case err::ApplicationDefined: return "Application-defined or object-defined error";
    default: return {};
  }
}

Error::Error(std::int32_t number, std::string source, std::string description, std::string help_file,
             std::int32_t help_context)
    : number_(number),
      source_(std::move(source)),
      description_(description.empty() ? default_description(number) : std::move(description)),
      help_file_(std::move(help_file)),
      help_context_(help_context),
      hresult_(hresult_from_number(number)) {}

Error Error::from_hresult(HRESULT hr, std::string source, std::string description, std::string help_file,
                          std::int32_t help_context) {
  Error e(number_from_hresult(hr), std::move(source), std::move(description), std::move(help_file), help_context);
  e.hresult_ = hr;
  return e;
}

void raise(std::int32_t number, std::string source, std::string description) {
  throw Error(number, std::move(source), std::move(description));
}

}  // namespace platform::com
