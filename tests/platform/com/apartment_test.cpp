#include "platform/com/apartment.hpp"

#include <gtest/gtest.h>

#include <thread>

#include "platform/com/members.hpp"
#include "tests/platform/com/raised.hpp"

namespace platform::com {
namespace {

using testing_support::raised;

class App : public Dispatch {
 public:
  const MemberTable& members() const override {
    static const MemberTable table = Members<App>("Application").get("Name", 110, [](App&) { return "App"; });
    return table;
  }
};

const Guid kAppClsid = *Guid::parse("{00024500-0000-0000-C000-000000000046}");

class ApartmentTest : public ::testing::Test {
 protected:
  void SetUp() override { Apartment::reset(); }
  void TearDown() override { Apartment::reset(); }
  Apartment& apartment() { return Apartment::current(); }

  void register_app(bool creatable = true) {
    apartment().register_class({"Excel.Application.11", kAppClsid, [] { return std::make_shared<App>(); }, creatable});
  }
};

TEST(Guid, ParsesAndPrintsTheBracedForm) {
  const auto g = Guid::parse("{0002df01-0000-0000-c000-000000000046}");
  ASSERT_TRUE(g);
  EXPECT_EQ(g->data1, 0x0002DF01u);
  EXPECT_EQ(g->data4[0], 0xC0);
  EXPECT_EQ(g->to_string(), "{0002DF01-0000-0000-C000-000000000046}");
  EXPECT_EQ(Guid::parse(g->to_string()), g);
  for (const char* bad : {"", "0002DF01-0000-0000-C000-000000000046", "{0002DF01-0000-0000-C000-00000000004}",
                          "{0002DF01-0000-0000-C000-0000000000G6}", "{0002DF01+0000-0000-C000-000000000046}",
                          "{-002DF01-0000-0000-C000-000000000046}", "{0002DF01-0000-0000-C000-000000000046}x"})
    EXPECT_FALSE(Guid::parse(bad)) << bad;
}

TEST_F(ApartmentTest, CreatesRegisteredClassesByProgIdInAnyCase) {
  register_app();
  const auto app = apartment().create_object("excel.application.11");
  ASSERT_TRUE(app);
  EXPECT_EQ(app->get("Name"), Variant("App"));
  EXPECT_NE(apartment().create_object("Excel.Application.11"), app);  // a new object each time
  EXPECT_EQ(apartment().clsid_of("EXCEL.APPLICATION.11"), kAppClsid);
  EXPECT_FALSE(apartment().clsid_of("Word.Application"));
}

TEST_F(ApartmentTest, UnknownOrNonCreatableClassesRaise429) {
  EXPECT_EQ(raised([&] { apartment().create_object("Excel.Application.11"); }), 429);
  register_app(false);
  EXPECT_EQ(raised([&] { apartment().create_object("Excel.Application.11"); }), 429);
  apartment().register_class({"Broken.Class", kAppClsid, [] { return std::shared_ptr<Dispatch>(); }});
  EXPECT_EQ(raised([&] { apartment().create_object("Broken.Class"); }), 429);
  apartment().register_class({"Failing.Class", kAppClsid, []() -> std::shared_ptr<Dispatch> { raise(75); }});
  EXPECT_EQ(raised([&] { apartment().create_object("Failing.Class"); }), 75);
}

TEST_F(ApartmentTest, ActiveObjectsAreFoundUntilRevoked) {
  register_app();
  EXPECT_EQ(raised([&] { apartment().active_object("Excel.Application.11"); }), -2147221021);
  EXPECT_EQ(raised([&] { apartment().active_object("Nobody.Home"); }), static_cast<int>(CO_E_CLASSSTRING));

  auto first = apartment().create_object("Excel.Application.11");
  auto second = apartment().create_object("Excel.Application.11");
  const auto cookie1 = apartment().register_active_object(kAppClsid, first);
  const auto cookie2 = apartment().register_active_object(kAppClsid, second);
  EXPECT_EQ(apartment().active_object("excel.application.11"), first);
  EXPECT_EQ(apartment().active_object(kAppClsid), first);

  apartment().revoke_active_object(cookie1);
  EXPECT_EQ(apartment().active_object(kAppClsid), second);
  apartment().revoke_active_object(cookie2);
  EXPECT_EQ(raised([&] { apartment().active_object(kAppClsid); }), -2147221021);
  EXPECT_EQ(raised([&] { apartment().revoke_active_object(cookie2); }), 5);
}

TEST_F(ApartmentTest, TheTableKeepsARegisteredObjectAlive) {
  std::weak_ptr<Dispatch> watch;
  {
    auto app = std::make_shared<App>();
    watch = app;
    apartment().register_active_object(kAppClsid, app);
  }
  EXPECT_FALSE(watch.expired());
  Apartment::reset();
  EXPECT_TRUE(watch.expired());
}

TEST_F(ApartmentTest, YieldRunsWhatWasPostedBeforeIt) {
  std::vector<std::string> log;
  apartment().post([&] {
    log.push_back("a");
    apartment().post([&] { log.push_back("posted by a"); });
  });
  apartment().post([&] { log.push_back("b"); });
  apartment().yield_once();
  EXPECT_EQ(log, (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(apartment().pending(), 1u);
  apartment().yield_once();
  EXPECT_EQ(log.back(), "posted by a");
  apartment().yield_once();  // nothing queued: returns at once
  EXPECT_EQ(log.size(), 3u);
}

TEST_F(ApartmentTest, AFailingTaskLeavesTheRestQueued) {
  std::vector<int> ran;
  apartment().post([&] { ran.push_back(1); });
  apartment().post([] { raise(err::PathFileAccess); });
  apartment().post([&] { ran.push_back(3); });
  apartment().post([&] { apartment().post([&] { ran.push_back(4); }); });
  EXPECT_EQ(raised([&] { apartment().yield_once(); }), 75);
  EXPECT_EQ(ran, std::vector<int>{1});
  apartment().yield_once();
  EXPECT_EQ(ran, (std::vector<int>{1, 3}));
  apartment().yield_once();
  EXPECT_EQ(ran, (std::vector<int>{1, 3, 4}));
}

TEST_F(ApartmentTest, EachThreadHasItsOwnApartment) {
  register_app();
  apartment().post([] {});
  bool other_knows_class = true;
  std::size_t other_pending = 99;
  std::thread([&] {
    other_knows_class = Apartment::current().clsid_of("Excel.Application.11").has_value();
    other_pending = Apartment::current().pending();
  }).join();
  EXPECT_FALSE(other_knows_class);
  EXPECT_EQ(other_pending, 0u);
  EXPECT_EQ(apartment().pending(), 1u);
}

}  // namespace
}  // namespace platform::com
