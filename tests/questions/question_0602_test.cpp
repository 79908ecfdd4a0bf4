// Question 602: the custom list checked in the application, and the lists
// the preparation and the check remove from it.
#include <gtest/gtest.h>

#include "tests/questions/exercise_question.hpp"

namespace d72506::testing {
namespace {

constexpr const char* kAttendue = "Array(\"España\", \"France.\", \"UK\")";
constexpr const char* kApprochee = "Array(\"España\", \"France\", \"UK\")";
constexpr const char* kResiduelle = "Array(\"Spain\", \"France.\", \"UK\")";
// Excel 2003's built-in lists: days and months, short and long.
constexpr std::int32_t kBuiltIn = 4;

class Question602 : public ExerciseQuestion {
 protected:
  Question602() : ExerciseQuestion(602) {}

  void add_list(const std::string& array) { act(app(), std::string("AddCustomList ListArray:=") + array); }
  std::int32_t list_number(const std::string& array) {
    return com::clng(evaluate(app(), "GetCustomListNum(" + array + ")"));
  }
  std::int32_t list_count() { return com::clng(evaluate(app(), "CustomListCount")); }
};

TEST_F(Question602, TheExpectedListIsRightOnceAndRemoved) {
  prepare();
  act(app(), "AddCustomList ListArray:=Range(\"A4:A6\")");  // the countries of the table
  EXPECT_EQ(check(), "");
  EXPECT_EQ(list_count(), kBuiltIn) << "the trainee's Excel does not keep the exercise's list";
  EXPECT_EQ(check(), "A") << "the list is gone after a right answer";
  EXPECT_EQ(question->get("BravoNuance"), Variant(false));
}

TEST_F(Question602, TheNearMissIsRemovedAloneAndOnlyWhenTheExpectedListIsAbsent) {
  prepare();
  add_list(kApprochee);
  EXPECT_EQ(check(), "B");
  EXPECT_EQ(list_number(kApprochee), 0);

  add_list(kApprochee);
  add_list(kAttendue);
  EXPECT_EQ(check(), "");
  EXPECT_EQ(list_number(kAttendue), 0);
  EXPECT_NE(list_number(kApprochee), 0) << "only the expected list goes";
}

TEST_F(Question602, OtherListsGiveAAndEveryListAddedSincePreparationGoes) {
  add_list("Array(\"Nord\", \"Sud\")");  // the trainee's own list, older than the question
  prepare();
  add_list("Array(\"UK\", \"France.\", \"España\")");
  add_list("Array(\"España\", \"France.\", \"UK\", \"Total\")");
  EXPECT_EQ(check(), "A");
  EXPECT_EQ(list_count(), kBuiltIn + 1);
  EXPECT_NE(list_number("Array(\"Nord\", \"Sud\")"), 0) << "a list older than the preparation stays";
}

TEST_F(Question602, PreparationRemovesTheLeftoverListAfterCountingIt) {
  add_list(kResiduelle);
  prepare();
  EXPECT_EQ(list_number(kResiduelle), 0);
  EXPECT_EQ(list_count(), kBuiltIn);

  // The count was noted with the leftover in it: a wrong list added now
  // takes the noted number, which the clean-up of "A" leaves alone.
  add_list("Array(\"España\", \"UK\")");
  EXPECT_EQ(check(), "A");
  EXPECT_EQ(list_count(), kBuiltIn + 1);
}

TEST_F(Question602, PreparationWithoutTheWorkingCopyFailsWithItsReport) {
  stdfs::remove(world.working_path() / kWorkingCopy);
  try {
    prepare();
    FAIL() << "the preparation did not fail";
  } catch (const com::Error& e) {
    EXPECT_TRUE(reported_by(e, "Question0602", "Prepare")) << e.source();
  }
}

}  // namespace
}  // namespace d72506::testing
