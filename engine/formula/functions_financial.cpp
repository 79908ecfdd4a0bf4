// PMT, FV, PV, NPER, RATE: the time value of money, with Excel's signs
// (money paid out is negative) and `type` 1 for payments at the start of
// each period.
#include <cmath>

#include "engine/formula/evaluator.hpp"
#include "engine/formula/functions.hpp"

namespace engine::formula {
namespace {

Value checked(double result) { return std::isfinite(result) ? Value(result) : Value(CellError::Num); }

// The arguments that every one of these functions shares after its own.
struct Annuity {
  double rate;
  double periods;
  double payment;
  double present;
  double future;
  bool at_start;

  // What grows a payment into the future value: ((1+r)^n - 1) / r, times
  // (1+r) for payments at the start; n without interest. Computed through
  // log1p and expm1, which keep every digit for the small rates of monthly
  // payments, where (1+r)^n - 1 would lose the last ones.
  double payment_factor() const {
    if (rate == 0) return periods;
    return std::expm1(periods * std::log1p(rate)) / rate * (at_start ? 1 + rate : 1);
  }
  double growth() const { return std::exp(periods * std::log1p(rate)); }
};

bool type_argument(Arguments& args, std::size_t i) { return args.number_or(i, 0) != 0; }

Operand pmt(Arguments& args) {
  Annuity a{args.number(0), args.number(1), 0, args.number(2), args.number_or(3, 0), type_argument(args, 4)};
  if (a.periods == 0) return Value(CellError::Num);
  return checked(-(a.present * a.growth() + a.future) / a.payment_factor());
}

Operand fv(Arguments& args) {
  Annuity a{args.number(0), args.number(1), args.number(2), args.number_or(3, 0), 0, type_argument(args, 4)};
  return checked(-(a.present * a.growth() + a.payment * a.payment_factor()));
}

Operand pv(Arguments& args) {
  Annuity a{args.number(0), args.number(1), args.number(2), 0, args.number_or(3, 0), type_argument(args, 4)};
  return checked(-(a.future + a.payment * a.payment_factor()) / a.growth());
}

Operand nper(Arguments& args) {
  Annuity a{args.number(0), 0, args.number(1), args.number(2), args.number_or(3, 0), type_argument(args, 4)};
  if (a.rate == 0) {
    if (a.payment == 0) return Value(CellError::Num);
    return checked(-(a.present + a.future) / a.payment);
  }
  const double paid = a.payment * (a.at_start ? 1 + a.rate : 1) / a.rate;
  const double ratio = (paid - a.future) / (paid + a.present);
  if (ratio <= 0 || a.rate <= -1) return Value(CellError::Num);
  return checked(std::log(ratio) / std::log(1 + a.rate));
}

// Newton's method on the balance at the end, from the guess (10% when
// none); #NUM! when it does not settle, as Excel gives up after a bounded
// number of steps.
Operand rate(Arguments& args) {
  Annuity a{args.number_or(5, 0.1), args.number(0), args.number(1), args.number(2), args.number_or(3, 0),
            type_argument(args, 4)};
  if (a.periods <= 0) return Value(CellError::Num);
  auto balance = [&a](double r) {
    Annuity at = a;
    at.rate = r;
    return a.present * at.growth() + a.payment * at.payment_factor() + a.future;
  };
  constexpr int kMaxSteps = 50;
  for (int step = 0; step < kMaxSteps; ++step) {
    const double r = a.rate;
    const double h = std::max(1e-7, std::fabs(r) * 1e-7);
    const double f = balance(r);
    const double slope = (balance(r + h) - balance(r - h)) / (2 * h);
    if (!std::isfinite(f) || !std::isfinite(slope) || slope == 0) return Value(CellError::Num);
    a.rate = r - f / slope;
    if (a.rate <= -1) return Value(CellError::Num);
    if (std::fabs(a.rate - r) <= 1e-15 * std::max(1.0, std::fabs(a.rate))) return Value(a.rate);
  }
  // Close enough to be a rate, not close enough to stop on its own: a last
  // check of the balance decides.
  return std::fabs(balance(a.rate)) < 1e-7 * std::max(1.0, std::fabs(a.present) + std::fabs(a.future))
             ? Value(a.rate)
             : Value(CellError::Num);
}

constexpr FunctionSpec table[] = {
    {"PMT", 3, 5, 59, false, pmt, true},     {"FV", 3, 5, 57, false, fv, true},         {"PV", 3, 5, 56, false, pv, true},
    {"NPER", 3, 5, 58, false, nper, true},   {"RATE", 3, 6, 60, false, rate},
};

}  // namespace

std::span<const FunctionSpec> financial_functions() { return table; }

}  // namespace engine::formula
