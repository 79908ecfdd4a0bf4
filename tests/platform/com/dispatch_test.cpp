#include "platform/com/dispatch.hpp"

#include <gtest/gtest.h>

#include "tests/platform/com/raised.hpp"

#include <map>

#include "platform/com/members.hpp"

namespace platform::com {
namespace {

// A small collection and its items, shaped like the automation classes that
// use the runtime: a default member, optional and named arguments, a
// by-reference out argument, a parameterised property.
class Book : public Dispatch {
 public:
  explicit Book(std::string name) : name_(std::move(name)) {}

  const MemberTable& members() const override {
    static const MemberTable table = Members<Book>("Book")
                                         .get("Name", 110, &Book::name)
                                         .put("Name", 110, &Book::set_name)
                                         .method("Close", 277, &Book::close, {"SaveChanges", "Filename", "RouteWorkbook"})
                                         .get("Tag", 200, &Book::tag, {"Index"})
                                         .put("Tag", 200, &Book::set_tag, {"Index"})
                                         .method("Measure", 300, &Book::measure, {"Text", "Length"})
                                         .method("Attach", 301, [](Book& b, Variant& target) {
                                           if (!target.is_object() || !target.object()) target = b.self(&b);
                                         })
                                         .get("Value", DISPID_VALUE, [](Book& b) { return b.name_; })
                                         .put("Value", DISPID_VALUE, &Book::set_name);
    return table;
  }

  std::string name() const { return name_; }
  void set_name(std::string n) { name_ = std::move(n); }
  std::string close(std::optional<bool> save, std::optional<std::string> file, std::optional<Variant> route) {
    closed = true;
    return (save ? (*save ? "save" : "discard") : "ask") + std::string("|") + file.value_or("") + "|" +
           (route ? cstr(*route) : "missing");
  }
  Variant tag(std::int16_t index) const { return tags_.count(index) ? tags_.at(index) : Variant(); }
  void set_tag(std::int16_t index, Variant v) { tags_[index] = std::move(v); }
  // Hands the length back through its second argument, as an out parameter.
  bool measure(const std::string& text, Variant& length) {
    length = static_cast<std::int32_t>(text.size());
    return true;
  }

  bool closed = false;

 private:
  std::string name_;
  std::map<std::int16_t, Variant> tags_;
};

class Shelf : public Dispatch {
 public:
  const MemberTable& members() const override {
    static const MemberTable table = Members<Shelf>("Shelf")
                                         .get("Item", DISPID_VALUE, &Shelf::item, {"Index"})
                                         .get("Count", 118, [](Shelf& s) { return static_cast<std::int32_t>(s.books.size()); })
                                         .get("Books", 400, [](Shelf& s) { return s.self(&s); })
                                         .method("Add", 181, &Shelf::add, {"Name"})
                                         .method("Sum", 500, &Shelf::sum);
    return table;
  }

  std::shared_ptr<Book> item(Variant index) {
    if (index.type() == VarType::String) {
      for (auto& b : books)
        if (b->name() == index.string_value()) return b;
      raise(err::SubscriptOutOfRange);
    }
    const std::int32_t i = clng(index);
    if (i < 1 || i > static_cast<std::int32_t>(books.size())) raise(err::SubscriptOutOfRange);
    return books[static_cast<std::size_t>(i - 1)];
  }
  std::shared_ptr<Book> add(std::string name) { return books.emplace_back(std::make_shared<Book>(std::move(name))); }
  // Takes any number of arguments, as Application.Run does.
  Variant sum(std::span<Variant> args) {
    double total = 0;
    for (const Variant& a : args) total += cdbl(a);
    return total;
  }

  std::vector<std::shared_ptr<Book>> books;
};

using testing_support::raised;

TEST(Dispatch, FindsMembersByNameInAnyCaseAndByDispid) {
  auto book = std::make_shared<Book>("Thor.xls");
  EXPECT_EQ(book->id_of("name"), 110);
  EXPECT_EQ(book->id_of("CLOSE"), 277);
  EXPECT_EQ(book->get("nAmE"), Variant("Thor.xls"));
  EXPECT_EQ(book->invoke(110, CallKind::Get), Variant("Thor.xls"));
  book->put("NAME", "Other.xls");
  EXPECT_EQ(book->name(), "Other.xls");
  EXPECT_EQ(book->type_name(), "Book");
}

TEST(Dispatch, UnknownMembersAndKindsRaise438) {
  auto book = std::make_shared<Book>("b");
  EXPECT_EQ(raised([&] { book->id_of("Nope"); }), 438);
  EXPECT_EQ(raised([&] { book->invoke(999, CallKind::Get); }), 438);
  EXPECT_EQ(raised([&] { book->call("Name"); }), 438);           // a property is not a method
  EXPECT_EQ(raised([&] { book->put("Close", true); }), 438);     // nor can a method be assigned
  EXPECT_EQ(raised([&] { book->put("Measure", "x"); }), 438);      // not a property
}

TEST(Dispatch, NamedArgumentsMatchParametersInAnyCase) {
  auto book = std::make_shared<Book>("b");
  std::vector<Variant> args = {false};
  const std::string_view names[] = {"savechanges"};
  EXPECT_EQ(book->invoke("Close", CallKind::Method, args, names), Variant("discard||missing"));
  EXPECT_TRUE(book->closed);

  std::vector<Variant> mixed = {true, "x", "a.xls"};
  const std::string_view later[] = {"RouteWorkbook", "FILENAME"};
  EXPECT_EQ(book->invoke("Close", CallKind::Method, mixed, later), Variant("save|a.xls|x"));

  std::vector<Variant> unknown = {false};
  const std::string_view bad[] = {"Save"};
  EXPECT_EQ(raised([&] { book->invoke("Close", CallKind::Method, unknown, bad); }), 448);

  std::vector<Variant> twice = {false, true};
  const std::string_view again[] = {"SaveChanges"};
  EXPECT_EQ(raised([&] { book->invoke("Close", CallKind::Method, twice, again); }), 450);
}

TEST(Dispatch, OmittedOptionalArgumentsArriveAsMissing) {
  auto book = std::make_shared<Book>("b");
  EXPECT_EQ(book->call("Close"), Variant("ask||missing"));
  // An explicitly missing argument in the middle, as "Close , , x" passes it.
  EXPECT_EQ(book->call("Close", {Variant::missing(), Variant::missing(), 5}), Variant("ask||5"));
}

TEST(Dispatch, ArgumentCountAndKindErrors) {
  auto book = std::make_shared<Book>("b");
  EXPECT_EQ(raised([&] { book->call("Measure"); }), 449);
  EXPECT_EQ(raised([&] { book->call("Close", {1, 2, 3, 4}); }), 450);
  EXPECT_EQ(raised([&] { book->get("Tag", {"not a number"}); }), 13);
  EXPECT_EQ(raised([&] { book->get("Tag", {40000}); }), 6);
  EXPECT_EQ(raised([&] { book->get("Tag", {Variant::null()}); }), 13);
  EXPECT_EQ(raised([&] { book->call("Close", {Variant::cell_error(cell_error::Div0)}); }), 13);
}

TEST(Dispatch, ByReferenceArgumentsComeBackToTheCaller) {
  auto book = std::make_shared<Book>("b");
  std::vector<Variant> args = {"hello", Variant()};
  EXPECT_EQ(book->invoke("Measure", CallKind::Method, args), Variant(true));
  EXPECT_EQ(args[1], Variant(std::int32_t{5}));
  EXPECT_EQ(args[0], Variant("hello"));  // untouched by-value argument is handed back too

  // An object passed by reference: the callee fills in Nothing, keeps an object.
  std::vector<Variant> target = {Variant::nothing()};
  book->invoke("Attach", CallKind::Method, target);
  EXPECT_EQ(target[0].object(), book);
  auto other = std::make_shared<Book>("other");
  target = {other};
  book->invoke("Attach", CallKind::Method, target);
  EXPECT_EQ(target[0].object(), other);

  // A refused call leaves the caller's arguments as they were.
  std::vector<Variant> named = {"kept", 1};
  const std::string_view names[] = {"Nope"};
  EXPECT_EQ(raised([&] { book->invoke("Measure", CallKind::Method, named, names); }), 448);
  EXPECT_EQ(named[0], Variant("kept"));
  EXPECT_EQ(named[1], Variant(1));
}

TEST(Dispatch, ParameterisedPropertyTakesIndexThenValue) {
  auto book = std::make_shared<Book>("b");
  std::vector<Variant> args = {std::int16_t{3}, "three"};
  book->invoke("Tag", CallKind::Put, args);
  EXPECT_EQ(book->get("Tag", {3}), Variant("three"));
  EXPECT_EQ(raised([&] {
              std::vector<Variant> only_value = {"v"};
              book->invoke("Tag", CallKind::Put, only_value);
            }),
            449);
}

TEST(Dispatch, DefaultMemberServesCollectionsAndValues) {
  auto shelf = std::make_shared<Shelf>();
  shelf->add("Thor.xls");
  shelf->call("Add", {"Loki.xls"});
  std::vector<Variant> byname = {"Loki.xls"};
  const Variant found = shelf->invoke(DISPID_VALUE, CallKind::Get, byname);
  EXPECT_EQ(found.object(), shelf->books[1]);  // the same object reference
  EXPECT_EQ(value_of(shelf->get("Item", {1})), Variant("Thor.xls"));
  EXPECT_EQ(raised([&] { shelf->get("Item", {3}); }), 9);
  // Arguments to a property that takes none go to its result's default member.
  EXPECT_EQ(shelf->get("Books", {2}).object(), shelf->books[1]);
  EXPECT_EQ(raised([&] { shelf->get("Count", {1}); }), 424);
}

TEST(Dispatch, AssigningThroughAnObjectAssignsItsDefaultMember) {
  auto shelf = std::make_shared<Shelf>();
  shelf->add("Thor.xls");
  // Shelf(1) = "x": Item can only be read, so its result's default member is assigned.
  std::vector<Variant> args = {1, "Renamed.xls"};
  shelf->invoke(DISPID_VALUE, CallKind::Put, args);
  EXPECT_EQ(shelf->books[0]->name(), "Renamed.xls");
  // Books(1) = "y": Books takes no index, the argument goes with the value.
  std::vector<Variant> through = {1, "Again.xls"};
  shelf->invoke("Books", CallKind::Put, through);
  EXPECT_EQ(shelf->books[0]->name(), "Again.xls");
  std::vector<Variant> only_named = {1, "x"};
  const std::string_view names[] = {"Index", "Value"};
  EXPECT_EQ(raised([&] { shelf->invoke(DISPID_VALUE, CallKind::Put, only_named, names); }), 450);
  std::vector<Variant> read_only = {3};
  EXPECT_EQ(raised([&] { shelf->invoke("Count", CallKind::Put, read_only); }), 438);
}

TEST(Dispatch, DefaultValueOfObjectsAndNothing) {
  auto shelf = std::make_shared<Shelf>();
  EXPECT_EQ(value_of(Variant(5)), Variant(5));
  EXPECT_EQ(raised([&] { value_of(Variant(shelf)); }), 449);  // Item needs its index
  EXPECT_EQ(raised([&] { value_of(Variant::nothing()); }), 91);
  EXPECT_EQ(raised([&] { object_of(Variant(1)); }), 424);
  EXPECT_EQ(cstr(Variant(std::make_shared<Book>("as text"))), "as text");
}

TEST(Dispatch, VariadicMembersTakeAnyNumberOfArguments) {
  auto shelf = std::make_shared<Shelf>();
  EXPECT_EQ(shelf->call("Sum"), Variant(0.0));
  EXPECT_EQ(shelf->call("Sum", {1, 2.5, "3"}), Variant(6.5));
}

TEST(Dispatch, ObjectParametersCheckTheirClass) {
  struct Reader : Dispatch {
    const MemberTable& members() const override {
      static const MemberTable table =
          Members<Reader>("Reader").method("Read", 1, [](Reader&, std::shared_ptr<Book> b) {
            return b ? b->name() : std::string("nothing");
          });
      return table;
    }
  };
  auto reader = std::make_shared<Reader>();
  EXPECT_EQ(reader->call("Read", {std::make_shared<Book>("x")}), Variant("x"));
  EXPECT_EQ(reader->call("Read", {Variant::nothing()}), Variant("nothing"));
  EXPECT_EQ(raised([&] { reader->call("Read", {std::make_shared<Shelf>()}); }), 13);
  EXPECT_EQ(raised([&] { reader->call("Read", {"x"}); }), 13);
}

TEST(Dispatch, ArgumentHelpersForHandWrittenHandlers) {
  std::vector<Variant> args = {"12", Variant::missing(), true, Variant::null()};
  EXPECT_EQ(argument<std::int32_t>(args, 0), 12);
  EXPECT_EQ(argument<std::string>(args, 2), "True");
  EXPECT_EQ(optional_argument<double>(args, 1), std::nullopt);
  EXPECT_EQ(optional_argument<double>(args, 9), std::nullopt);
  EXPECT_EQ(raised([&] { argument<std::int32_t>(args, 1); }), 449);
  EXPECT_EQ(raised([&] { argument<std::int32_t>(args, 9); }), 449);
  EXPECT_EQ(raised([&] { argument<std::string>(args, 3); }), 13);
  EXPECT_EQ(raised([&] { argument<std::shared_ptr<Dispatch>>(args, 0); }), 13);
  EXPECT_EQ(argument<Variant>(args, 3), Variant::null());
}

TEST(MemberTable, EnumeratesAndRefusesInconsistentRegistrations) {
  const auto& table = std::make_shared<Book>("b")->members();
  std::vector<std::string> names;
  for (const Member& m : table.members()) names.push_back(m.name);
  EXPECT_EQ(names.size(), 9u);
  const Member* close = table.find(277, CallKind::Method);
  ASSERT_NE(close, nullptr);
  EXPECT_EQ(close->arity, 3u);
  EXPECT_EQ(close->required, 0u);

  auto two_ids = [] { MemberTable t = Members<Book>("Book").get("Name", 1, &Book::name).put("name", 2, &Book::set_name); };
  EXPECT_THROW(two_ids(), std::logic_error);
  auto twice = [] { MemberTable t = Members<Book>("Book").get("Name", 1, &Book::name).get("Name", 1, &Book::name); };
  EXPECT_THROW(twice(), std::logic_error);
  auto wrong_names = [] { MemberTable t = Members<Book>("Book").method("Close", 1, &Book::close, {"OnlyOne"}); };
  EXPECT_THROW(wrong_names(), std::logic_error);
  auto required_after_optional = [] {
    MemberTable t = Members<Book>("Book").method("X", 1, [](Book&, std::optional<int>, int) {});
  };
  EXPECT_THROW(required_after_optional(), std::logic_error);
}

}  // namespace
}  // namespace platform::com
