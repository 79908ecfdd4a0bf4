#include "platform/com/traps.hpp"

#include <gtest/gtest.h>

#include "platform/com/boundary.hpp"
#include "tests/platform/com/raised.hpp"

namespace platform::com {
namespace {

using testing_support::raised;

// A reporter like the module's: prefixes the source and raises again.
[[noreturn]] void report(const std::string& where) {
  reraise_with_source(where + " - OBJET " + current_error()->source());
}

TEST(Traps, ReportAndFailRaisesAgainWithTheNewSource) {
  try {
    report_and_fail([] { throw Error(9, "Excel", "Subscript out of range", "help.chm", 42); },
                    [](const Error&) { report("TestePoint"); });
    FAIL() << "the method should have failed";
  } catch (const Error& e) {
    EXPECT_EQ(e.number(), 9);
    EXPECT_EQ(e.source(), "TestePoint - OBJET Excel");
    EXPECT_EQ(e.description(), "Subscript out of range");
    EXPECT_EQ(e.help_file(), "help.chm");
    EXPECT_EQ(e.help_context(), 42);
  }
  EXPECT_EQ(current_error(), nullptr);  // the handler's error ends with the handler
}

TEST(Traps, NestedReportsGrowTheSourceInnermostLast) {
  auto inner = [] { report_and_fail([] { raise(1004, "Excel"); }, [](const Error&) { report("inner"); }); };
  try {
    report_and_fail(inner, [](const Error&) { report("outer"); });
  } catch (const Error& e) {
    EXPECT_EQ(e.number(), 1004);
    EXPECT_EQ(e.source(), "outer - OBJET inner - OBJET Excel");
  }
}

TEST(Traps, ARejectedCallKeepsItsNumberThroughAReport) {
  try {
    report_and_fail([] { throw Error::from_hresult(RPC_E_CALL_REJECTED); }, [](const Error&) { report("x"); });
  } catch (const Error& e) {
    EXPECT_EQ(e.number(), -2147418111);
    EXPECT_EQ(e.hresult(), RPC_E_CALL_REJECTED);
  }
}

TEST(Traps, AHandlerThatReturnsStillFails) {
  EXPECT_EQ(raised([] { report_and_fail([] { raise(91); }, [](const Error&) {}); }), 91);
  EXPECT_EQ(report_and_fail([] { return 7; }, [](const Error&) {}), 7);
}

TEST(Traps, MapToCodeTurnsConversionErrorsIntoTheCode) {
  for (int n : {13, 5, 6}) {
    std::string cause;
    map_to_code(cause, "AA", [n] { raise(n); }, [](const Error&) { report("never"); });
    EXPECT_EQ(cause, "AA") << n;
  }
  std::string cause = "B";
  map_to_code(cause, "AA", [] {}, [](const Error&) {});
  EXPECT_EQ(cause, "B");
  EXPECT_EQ(raised([&] { map_to_code(cause, "AA", [] { raise(9); }, [](const Error&) { report("TestePoint"); }); }), 9);
  EXPECT_EQ(cause, "B");
}

TEST(Traps, IgnoreErrorSkipsOneStatement) {
  int after = 0;
  const auto skipped = ignore_error([] { raise(53); });
  ++after;
  ASSERT_TRUE(skipped);
  EXPECT_EQ(skipped->number(), 53);
  EXPECT_EQ(after, 1);
  EXPECT_FALSE(ignore_error([] {}));
  // Only runtime errors are the runtime's to skip.
  EXPECT_THROW(ignore_error([] { throw std::logic_error("bug"); }), std::logic_error);
}

TEST(Traps, NoTrapPassesTheErrorUnchanged) {
  EXPECT_EQ(raised([] { no_trap([] { raise(9, "Excel"); }); }), 9);
  EXPECT_EQ(no_trap([] { return 3; }), 3);
}

TEST(Traps, RaisingAgainOutsideAHandlerIsAnInvalidCall) {
  EXPECT_EQ(raised([] { reraise_with_source("x"); }), 5);
}

TEST(Boundary, SuccessReturnsSOkAndLeavesNoErrorInfo) {
  set_error_info(ErrorInfo{"stale", "stale", {}, 0});
  EXPECT_EQ(call_at_boundary([] {}), S_OK);
  EXPECT_FALSE(take_error_info());
  EXPECT_NO_THROW(check(S_OK));
}

TEST(Boundary, AFailureBecomesItsHresultAndErrorInfo) {
  const HRESULT hr = call_at_boundary([] { throw Error(9, "DLL D72506 - CLASSE Module", "Subscript out of range", "h", 3); });
  EXPECT_EQ(hr, static_cast<HRESULT>(0x800A0009));
  try {
    check(hr);
    FAIL();
  } catch (const Error& e) {
    EXPECT_EQ(e.number(), 9);
    EXPECT_EQ(e.source(), "DLL D72506 - CLASSE Module");
    EXPECT_EQ(e.description(), "Subscript out of range");
    EXPECT_EQ(e.help_file(), "h");
    EXPECT_EQ(e.help_context(), 3);
  }
  EXPECT_FALSE(take_error_info());  // the caller took it

  EXPECT_EQ(call_at_boundary([] { throw Error::from_hresult(RPC_E_CALL_REJECTED, "Excel"); }), RPC_E_CALL_REJECTED);
  EXPECT_EQ(take_error_info()->source, "Excel");
}

TEST(Boundary, FaultsOtherThanRuntimeErrorsDoNotEscape) {
  EXPECT_EQ(call_at_boundary([] { throw std::logic_error("broken invariant"); }), E_UNEXPECTED);
  EXPECT_EQ(take_error_info()->description, "broken invariant");
  EXPECT_EQ(call_at_boundary([] { throw std::bad_alloc(); }), E_OUTOFMEMORY);
  EXPECT_EQ(call_at_boundary([] { throw 42; }), E_UNEXPECTED);
  EXPECT_EQ(raised([] { check(E_UNEXPECTED); }), static_cast<int>(E_UNEXPECTED));
}

}  // namespace
}  // namespace platform::com
