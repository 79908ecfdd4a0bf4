#include "module/remonte_erreur.hpp"

#include <gtest/gtest.h>

#include "platform/com/traps.hpp"

namespace d72506 {
namespace {

using platform::com::Error;

Error caught_from(auto&& call) {
  try {
    call();
  } catch (const Error& e) {
    return e;
  }
  ADD_FAILURE() << "nothing was raised";
  return Error(0);
}

// A method of class `classe` whose trap reports what `body` raised.
void reporting(std::string_view classe, std::string_view methode, auto&& body) {
  platform::com::report_and_fail(body, [&](const Error& e) { RemonteErreur(classe, methode, e.source()); });
}

TEST(RemonteErreur, KeepsNumberAndDescriptionAndComposesTheSource) {
  const Error rapport = caught_from([] {
    reporting("Question0601", "TestePoint",
              [] { throw Error(9, "Microsoft Office Excel", "Subscript out of range", "xlmain11.chm", 1234); });
  });
  EXPECT_EQ(rapport.number(), 9);
  EXPECT_EQ(rapport.description(), "Subscript out of range");
  EXPECT_EQ(rapport.help_file(), "xlmain11.chm");
  EXPECT_EQ(rapport.help_context(), 1234);
  EXPECT_EQ(rapport.source(),
            "DLL D72506 - CLASSE Question0601\n\r - SERVICE TestePoint - OBJET Microsoft Office Excel");
}

TEST(RemonteErreur, AnEmptySourceEndsTheTextWithObjet) {
  const Error rapport = caught_from([] { reporting("Module", "GetDir", [] { throw Error(13); }); });
  EXPECT_EQ(rapport.source(), "DLL D72506 - CLASSE Module\n\r - SERVICE GetDir - OBJET ");
}

TEST(RemonteErreur, NestedReportsPutTheInnerTextAfterObjet) {
  const Error externe = caught_from([] {
    reporting("Module", "RestaureParamUser",
              [] { reporting("Module", "ChangeDir", [] { throw Error(1004, "Excel"); }); });
  });
  EXPECT_EQ(externe.number(), 1004);
  EXPECT_EQ(externe.source(),
            "DLL D72506 - CLASSE Module\n\r - SERVICE RestaureParamUser - OBJET "
            "DLL D72506 - CLASSE Module\n\r - SERVICE ChangeDir - OBJET Excel");
}

TEST(RemonteErreur, ABusyApplicationsRejectionKeepsItsNegativeNumber) {
  const Error rapport = caught_from([] {
    reporting("Module", "InitQuestion",
              [] { throw Error::from_hresult(platform::com::RPC_E_CALL_REJECTED, "Excel"); });
  });
  EXPECT_EQ(rapport.number(), -2147418111);
  EXPECT_EQ(rapport.hresult(), platform::com::RPC_E_CALL_REJECTED);
}

}  // namespace
}  // namespace d72506
