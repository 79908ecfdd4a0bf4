// The runtime's error: what a raised error carries from the place it happens
// to the trap that handles it, and the HRESULT it becomes at a COM boundary.
#pragma once

#include <cstdint>
#include <exception>
#include <string>

namespace platform::com {

using HRESULT = std::int32_t;

inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057);
inline constexpr HRESULT E_UNEXPECTED = static_cast<HRESULT>(0x8000FFFF);
inline constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000E);
inline constexpr HRESULT DISP_E_MEMBERNOTFOUND = static_cast<HRESULT>(0x80020003);
inline constexpr HRESULT DISP_E_PARAMNOTFOUND = static_cast<HRESULT>(0x80020004);
inline constexpr HRESULT DISP_E_TYPEMISMATCH = static_cast<HRESULT>(0x80020005);
inline constexpr HRESULT DISP_E_OVERFLOW = static_cast<HRESULT>(0x8002000A);
inline constexpr HRESULT DISP_E_BADINDEX = static_cast<HRESULT>(0x8002000B);
inline constexpr HRESULT MK_E_UNAVAILABLE = static_cast<HRESULT>(0x800401E3);
inline constexpr HRESULT CO_E_CLASSSTRING = static_cast<HRESULT>(0x800401F3);
inline constexpr HRESULT RPC_E_CALL_REJECTED = static_cast<HRESULT>(0x80010001);

// Runtime error numbers the system and the stand-in raise.
namespace err {
inline constexpr std::int32_t InvalidCall = 5;
inline constexpr std::int32_t Overflow = 6;
inline constexpr std::int32_t OutOfMemory = 7;
inline constexpr std::int32_t SubscriptOutOfRange = 9;
inline constexpr std::int32_t TypeMismatch = 13;
inline constexpr std::int32_t OutOfStackSpace = 28;
inline constexpr std::int32_t FileNotFound = 53;
inline constexpr std::int32_t FileAlreadyExists = 58;
inline constexpr std::int32_t PathFileAccess = 75;
inline constexpr std::int32_t PathNotFound = 76;
inline constexpr std::int32_t ObjectNotSet = 91;
inline constexpr std::int32_t InvalidUseOfNull = 94;
inline constexpr std::int32_t ObjectRequired = 424;
inline constexpr std::int32_t CantCreateObject = 429;
inline constexpr std::int32_t MemberNotFound = 438;
inline constexpr std::int32_t NamedArgumentNotFound = 448;
inline constexpr std::int32_t ArgumentNotOptional = 449;
inline constexpr std::int32_t WrongNumberOfArguments = 450;
inline constexpr std::int32_t ApplicationDefined = 1004;
}  // namespace err

// The number a trap sees for a failed automation call, as the original
// runtime maps it: 0x800A0000+n gives n, a few dispatch statuses give their
// runtime numbers, anything else stays the (negative) HRESULT itself.
std::int32_t number_from_hresult(HRESULT hr);

// The HRESULT a raised runtime error crosses a COM boundary as.
HRESULT hresult_from_number(std::int32_t number);

// The runtime's own text for a number ("Type mismatch"), empty when it has none.
std::string default_description(std::int32_t number);

class Error : public std::exception {
 public:
  // An error with no description takes the runtime's default text.
  explicit Error(std::int32_t number, std::string source = {}, std::string description = {},
                 std::string help_file = {}, std::int32_t help_context = 0);

  // The error a failed automation call with this HRESULT raises.
  static Error from_hresult(HRESULT hr, std::string source = {}, std::string description = {},
                            std::string help_file = {}, std::int32_t help_context = 0);

  std::int32_t number() const { return number_; }
  const std::string& source() const { return source_; }
  const std::string& description() const { return description_; }
  const std::string& help_file() const { return help_file_; }
  std::int32_t help_context() const { return help_context_; }
  HRESULT hresult() const { return hresult_; }

  const char* what() const noexcept override { return description_.c_str(); }

 private:
  std::int32_t number_;
  std::string source_;
  std::string description_;
  std::string help_file_;
  std::int32_t help_context_;
  HRESULT hresult_;
};

// Raises the runtime error `number`.
[[noreturn]] void raise(std::int32_t number, std::string source = {}, std::string description = {});

}  // namespace platform::com
