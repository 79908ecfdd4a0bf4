#include "platform/com/error.hpp"

#include <gtest/gtest.h>

namespace platform::com {
namespace {

TEST(ErrorMapping, AutomationStatusesBecomeRuntimeNumbers) {
  EXPECT_EQ(number_from_hresult(static_cast<HRESULT>(0x800A03EC)), 1004);
  EXPECT_EQ(number_from_hresult(DISP_E_TYPEMISMATCH), 13);
  EXPECT_EQ(number_from_hresult(DISP_E_BADINDEX), 9);
  EXPECT_EQ(number_from_hresult(DISP_E_OVERFLOW), 6);
  EXPECT_EQ(number_from_hresult(E_INVALIDARG), 5);
  EXPECT_EQ(number_from_hresult(DISP_E_MEMBERNOTFOUND), 438);
  EXPECT_EQ(number_from_hresult(RPC_E_CALL_REJECTED), -2147418111);
}

TEST(ErrorMapping, RuntimeNumbersRoundTripThroughTheirHresult) {
  for (std::int32_t n : {5, 6, 9, 13, 53, 75, 91, 438, 1004})
    EXPECT_EQ(number_from_hresult(hresult_from_number(n)), n) << n;
  EXPECT_EQ(hresult_from_number(-2147418111), RPC_E_CALL_REJECTED);
}

TEST(ErrorType, CarriesItsFieldsAndTheDefaultText) {
  Error e(9, "Excel", "");
  EXPECT_EQ(e.number(), 9);
  EXPECT_EQ(e.source(), "Excel");
  EXPECT_EQ(e.description(), "Subscript out of range");
  EXPECT_EQ(e.hresult(), static_cast<HRESULT>(0x800A0009));
  Error rejected = Error::from_hresult(RPC_E_CALL_REJECTED);
  EXPECT_EQ(rejected.number(), -2147418111);
  EXPECT_EQ(rejected.hresult(), RPC_E_CALL_REJECTED);
}

}  // namespace
}  // namespace platform::com
