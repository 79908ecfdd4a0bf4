// Each convention of d72506.h, one test each: handles in pairs, statuses
// with error objects, text in UTF-8 freed by the caller, NULL refused, the
// thread rule, and in/out application references as COM passes them.
#include <thread>

#include "api_session.hpp"

namespace d72506::api_test {
namespace {

constexpr d72506_status kObjectNotSet = static_cast<d72506_status>(0x800A005B);  // runtime error 91

TEST(ApiConventions, HandlesComeInCreateAndReleasePairsAndNullReleasesNothing) {
  d72506_module* module = nullptr;
  d72506_error* error = nullptr;
  expect_ok(d72506_module_create(nullptr, nullptr, &module, &error), &error, "create");
  ASSERT_NE(module, nullptr);
  d72506_application* excel = nullptr;
  std::int32_t window = 0;
  expect_ok(d72506_application_create(&excel, &window, &error), &error, "application");
  EXPECT_NE(window, 0);
  d72506_application_release(excel);
  d72506_module_release(module);
  d72506_module_release(nullptr);
  d72506_application_release(nullptr);
  d72506_complement_release(nullptr);
  d72506_work_files_release(nullptr);
  d72506_error_free(nullptr);
  d72506_free(nullptr);
}

TEST(ApiConventions, AFailedCallReturnsItsHresultAndAnErrorWithNumberSourceAndDescription) {
  Session session;
  d72506_error* error = nullptr;
  char* cause = nullptr;
  // No question yet: the member reads Nothing, as the COM member does.
  const d72506_status status = d72506_module_CauseErreur(session.module(), &cause, &error);
  EXPECT_EQ(status, kObjectNotSet);
  EXPECT_TRUE(D72506_FAILED(status));
  EXPECT_EQ(cause, nullptr);
  ASSERT_NE(error, nullptr);
  EXPECT_EQ(d72506_error_status(error), kObjectNotSet);
  EXPECT_EQ(d72506_error_number(error), 91);
  EXPECT_STREQ(d72506_error_description(error), "Object variable or With block variable not set");

  // A second failure replaces the error already there (ASan sees the first freed).
  int bravo = 7;
  EXPECT_EQ(d72506_module_BravoNuance(session.module(), &bravo, &error), kObjectNotSet);
  EXPECT_EQ(bravo, 7);
  // Success leaves it alone; a NULL errptr is allowed.
  int generale = 1;
  EXPECT_EQ(d72506_module_ErreurGenerale(session.module(), &generale, &error), D72506_OK);
  EXPECT_EQ(generale, 0);
  EXPECT_EQ(d72506_error_number(error), 91);
  d72506_error_free(error);
  EXPECT_EQ(d72506_module_CauseErreur(session.module(), &cause, nullptr), kObjectNotSet);
}

TEST(ApiConventions, ModuleFailuresCarryTheComposedSourceText) {
  Session session;
  d72506_application* excel = nullptr;
  std::int32_t window = 0;
  d72506_error* error = nullptr;
  // A number without a question: the work files cannot be cleaned.
  const d72506_status status = d72506_module_InitQuestion(session.module(), 600, session.working_folder().c_str(),
                                                          &excel, &window, nullptr, &error);
  const Failure f = failure_of(status, &error);
  EXPECT_TRUE(D72506_FAILED(f.status));
  EXPECT_EQ(f.number, 91);
  EXPECT_EQ(f.source.rfind("DLL D72506 - CLASSE Module\n\r - SERVICE Nettoyage - OBJET ", 0), 0u) << f.source;
  // The Excel the module started is handed back even so, for the player to quit.
  ASSERT_NE(excel, nullptr);
  EXPECT_EQ(d72506_module_Quitter(session.module(), &excel, &window, nullptr), D72506_OK);
  EXPECT_EQ(excel, nullptr);
}

TEST(ApiConventions, TextIsUtf8BothWaysAndReturnedTextIsTheCallers) {
  Session session;
  d72506_application* excel = nullptr;
  d72506_error* error = nullptr;
  expect_ok(d72506_application_create(&excel, nullptr, &error), &error, "application");
  expect_ok(d72506_application_run(excel, "s = \"Modèles \" & LCase(\"DÉTAIL\")", nullptr, &error), &error, "run");
  char* value = nullptr;
  expect_ok(d72506_application_evaluate(excel, "s & \" \" & Len(s)", nullptr, &value, &error), &error, "evaluate");
  // Len counts UTF-16 code units: "Modèles détail" has 14.
  EXPECT_EQ(take_text(value), "Modèles détail 14");
  d72506_application_release(excel);
}

TEST(ApiConventions, NullHandlesAndOutPointersFailWithEPointerAndNameTheArgument) {
  Session session;
  d72506_error* error = nullptr;
  EXPECT_EQ(d72506_module_TestePoint(nullptr, &error), D72506_E_POINTER);
  EXPECT_STREQ(d72506_error_description(error), "Invalid pointer: module is NULL");
  EXPECT_EQ(d72506_module_CauseErreur(session.module(), nullptr, &error), D72506_E_POINTER);
  EXPECT_STREQ(d72506_error_description(error), "Invalid pointer: out is NULL");
  std::int32_t window = 0;
  EXPECT_EQ(d72506_module_InitQuestion(session.module(), 601, nullptr, nullptr, &window, nullptr, &error),
            D72506_E_POINTER);
  EXPECT_EQ(d72506_application_run(nullptr, "x = 1", nullptr, &error), D72506_E_POINTER);
  EXPECT_EQ(d72506_module_create(nullptr, nullptr, nullptr, &error), D72506_E_POINTER);
  EXPECT_EQ(d72506_error_number(error), static_cast<std::int32_t>(D72506_E_POINTER));
  d72506_error_free(error);
}

TEST(ApiConventions, AHandleUsedOnAnotherThreadIsRefusedAndStaysUsableOnItsOwn) {
  Session session;
  session.init_question(601);
  d72506_status status = D72506_OK;
  std::int32_t number = 0;
  std::thread other([&] {
    d72506_error* error = nullptr;
    status = d72506_module_TestePoint(session.module(), &error);
    number = d72506_error_number(error);
    d72506_error_free(error);
    // Releasing from here does nothing: the handle is still the creator's.
    d72506_application_release(session.application());
  });
  other.join();
  EXPECT_EQ(status, D72506_E_WRONG_THREAD);
  EXPECT_EQ(number, static_cast<std::int32_t>(D72506_E_WRONG_THREAD));
  session.run("Range(\"D1\").Value = \"'09854895\"");
  EXPECT_EQ(session.cause_after_check(), "");
}

TEST(ApiConventions, InitQuestionHandsBackTheApplicationAndQuitterTakesItAway) {
  Session session;
  session.init_question(601);
  ASSERT_NE(session.application(), nullptr);
  EXPECT_NE(session.window(), 0);
  d72506_error* error = nullptr;
  expect_ok(d72506_module_Fermer(session.module(), &error), &error, "Fermer");
  // The module owns this Excel: Quitter quits it, releases the handle and
  // hands back none.
  expect_ok(d72506_module_Quitter(session.module(), session.application_slot(), session.window_slot(), &error),
            &error, "Quitter");
  EXPECT_EQ(session.application(), nullptr);
  EXPECT_EQ(session.window(), 0);
}

TEST(ApiConventions, AnApplicationOfThePlayersOwnIsKeptWithItsHandle) {
  Session session;
  d72506_application* excel = nullptr;
  std::int32_t window = 0;
  d72506_error* error = nullptr;
  expect_ok(d72506_application_create(&excel, &window, &error), &error, "application");
  expect_ok(d72506_deliver(601, nullptr, session.working_folder().c_str(), &error), &error, "deliver");
  d72506_application* const mine = excel;
  expect_ok(d72506_module_InitQuestion(session.module(), 601, session.working_folder().c_str(), &excel, &window,
                                       nullptr, &error),
            &error, "InitQuestion");
  EXPECT_EQ(excel, mine);  // the same object: the same handle
  expect_ok(d72506_module_Fermer(session.module(), &error), &error, "Fermer");
  expect_ok(d72506_module_Quitter(session.module(), &excel, &window, &error), &error, "Quitter");
  EXPECT_EQ(excel, mine);  // not the module's to quit
  d72506_application_release(excel);
}

}  // namespace
}  // namespace d72506::api_test
