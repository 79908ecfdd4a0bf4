// The fault switch: which call fails, how, and that nothing fails once it
// is off or on another thread.
#include "engine/app/fault_plan.hpp"

#include <gtest/gtest.h>

#include <thread>

#include "app_fixture.hpp"
#include "platform/com/convert.hpp"

namespace engine::app::testing {
namespace {

class FaultPlanTest : public AppTest {
 protected:
  ~FaultPlanTest() override { disarm_fault(); }
  // One counted call: a property read of the application.
  Variant visible() { return app->get("Visible"); }
  std::string failure_of_next_call() {
    try {
      app->call("Calculate");
    } catch (const platform::com::Error& e) {
      return std::to_string(e.number()) + " " + e.description();
    }
    return "none";
  }
};

TEST_F(FaultPlanTest, OnlyTheNthCallFailsAndEachKindAsExcelFails) {
  arm_fault({3, Fault::CallRejected});
  visible();
  visible();
  EXPECT_EQ(failure_of_next_call(), "-2147418111 Call was rejected by callee.");
  EXPECT_TRUE(fault_injected());
  EXPECT_EQ(failure_of_next_call(), "none") << "a rejected call is one call";
  EXPECT_EQ(calls_counted(), 4u);

  arm_fault({1, Fault::MethodFails});
  EXPECT_EQ(failure_of_next_call(), "1004 Method 'Calculate' of object 'Application' failed");
  EXPECT_EQ(failure_of_next_call(), "none");
}

TEST_F(FaultPlanTest, AnExcelGoneStaysGoneUntilTheSwitchIsOff) {
  arm_fault({2, Fault::ExcelGone});
  EXPECT_EQ(failure_of_next_call(), "none");
  for (int i = 0; i < 3; ++i) EXPECT_EQ(failure_of_next_call(), "-2147023174 The RPC server is unavailable.");
  disarm_fault();
  EXPECT_EQ(failure_of_next_call(), "none");
  EXPECT_FALSE(fault_injected());
}

TEST_F(FaultPlanTest, CountingAloneFailsNothingAndOtherThreadsAreNotCounted) {
  arm_fault({0, Fault::ExcelGone});
  for (int i = 0; i < 5; ++i) EXPECT_EQ(failure_of_next_call(), "none");
  std::thread([] { arm_fault({1, Fault::ExcelGone}); }).join();
  EXPECT_EQ(failure_of_next_call(), "none") << "another thread's plan is its own";
  EXPECT_EQ(calls_counted(), 6u);
  EXPECT_FALSE(fault_injected());
}

}  // namespace
}  // namespace engine::app::testing
