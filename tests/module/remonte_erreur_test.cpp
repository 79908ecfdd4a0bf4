#include "module/remonte_erreur.hpp"

#include <gtest/gtest.h>

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

TEST(RemonteErreur, KeepsNumberAndDescriptionAndComposesTheSource) {
  const Error excel(9, "Microsoft Office Excel", "Subscript out of range", "xlmain11.chm", 1234);
  const Error rapport = caught_from([&] { RemonteErreur("Question0601", "TestePoint", excel.source(), excel); });
  EXPECT_EQ(rapport.number(), 9);
  EXPECT_EQ(rapport.description(), "Subscript out of range");
  EXPECT_EQ(rapport.help_file(), "xlmain11.chm");
  EXPECT_EQ(rapport.help_context(), 1234);
  EXPECT_EQ(rapport.source(),
            "DLL D72506 - CLASSE Question0601\n\r - SERVICE TestePoint - OBJET Microsoft Office Excel");
}

TEST(RemonteErreur, AnEmptySourceEndsTheTextWithObjet) {
  const Error sans_source(13);
  const Error rapport = caught_from([&] { RemonteErreur("Module", "GetDir", "", sans_source); });
  EXPECT_EQ(rapport.source(), "DLL D72506 - CLASSE Module\n\r - SERVICE GetDir - OBJET ");
}

TEST(RemonteErreur, NestedReportsPutTheInnerTextAfterObjet) {
  const Error interne = caught_from([] { RemonteErreur("Module", "ChangeDir", "Excel", Error(1004, "Excel")); });
  const Error externe = caught_from([&] { RemonteErreur("Module", "RestaureParamUser", interne.source(), interne); });
  EXPECT_EQ(externe.number(), 1004);
  EXPECT_EQ(externe.source(),
            "DLL D72506 - CLASSE Module\n\r - SERVICE RestaureParamUser - OBJET "
            "DLL D72506 - CLASSE Module\n\r - SERVICE ChangeDir - OBJET Excel");
}

TEST(RemonteErreur, ABusyApplicationsRejectionKeepsItsNegativeNumber) {
  const Error rejet = Error::from_hresult(platform::com::RPC_E_CALL_REJECTED, "Excel");
  const Error rapport = caught_from([&] { RemonteErreur("Module", "InitQuestion", rejet.source(), rejet); });
  EXPECT_EQ(rapport.number(), -2147418111);
  EXPECT_EQ(rapport.hresult(), platform::com::RPC_E_CALL_REJECTED);
}

}  // namespace
}  // namespace d72506
