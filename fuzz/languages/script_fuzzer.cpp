// Any text as a trainee's script: parsed, and when it parses, run on a small
// application under a tight budget, with a function that runs the script
// again in a nested session as Application.Run runs a macro. Whatever the
// text, the run ends with a result or a ScriptError: no crash, no hang (the
// budget's time), no memory past the budget's (libFuzzer's -rss_limit_mb).
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/script/budget.hpp"
#include "platform/script/script.hpp"
#include "tests/platform/script/fake_application.hpp"

namespace {

namespace script = platform::script;
using platform::com::Variant;

constexpr script::Limits kLimits{std::chrono::milliseconds(200), std::size_t{16} << 20};

script::HostFunctions nested_runs(const script::Script& script,
                                  const std::shared_ptr<script::testing::Application>& app) {
  return {{"Again", 0, 0, [&script, app](std::span<const Variant>) {
             script::Session inner(Variant(app), {}, nested_runs(script, app));
             try {
               inner.run(script);
             } catch (const script::ScriptError& e) {
               if (e.runtime_error()) throw *e.runtime_error();
               throw;
             }
             return Variant();
           }}};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view source(reinterpret_cast<const char*>(data), size);
  const script::Budget::Scope scope(std::make_shared<script::Budget>(kLimits));
  auto app = std::make_shared<script::testing::Application>();
  try {
    const script::Script parsed = script::parse(source, "fuzz.bas");
    script::run(parsed, Variant(app), [](std::string_view, int) {}, nested_runs(parsed, app));
  } catch (const script::ScriptError&) {
  }
  return 0;
}
