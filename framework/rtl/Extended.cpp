#include "framework/rtl/Extended.h"

#include <cfenv>
#include <cmath>
#include <cstring>

#include "framework/rtl/Exceptions.h"

namespace Extended {

namespace {

// Operands and results pass through volatile storage so the compiler can
// neither hoist an operation above the flag clearing nor sink it below the
// flag test: the ordering is what ties an error to its step.
constexpr int kErrors = FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW;

template <typename Op>
long double Checked(long double A, long double B, Op op) {
  // Reading the flags is cheap, clearing them is not: clear only when an
  // earlier computation left one of ours behind.
  if (std::fetestexcept(kErrors)) std::feclearexcept(FE_ALL_EXCEPT);
  volatile long double a = A;
  volatile long double b = B;
  volatile long double r = op(a, b);
  CheckErrors();
  return r;
}

}  // namespace

void CheckErrors() {
  const int raised = std::fetestexcept(kErrors);
  if (raised == 0) return;
  std::feclearexcept(FE_ALL_EXCEPT);
  if (raised & FE_INVALID) throw EInvalidOp();
  if (raised & FE_DIVBYZERO) throw EZeroDivide();
  throw EOverflow();
}

void Reset() { std::feclearexcept(FE_ALL_EXCEPT); }

long double Add(long double A, long double B) {
  return Checked(A, B, [](long double a, long double b) { return a + b; });
}
long double Sub(long double A, long double B) {
  return Checked(A, B, [](long double a, long double b) { return a - b; });
}
long double Mul(long double A, long double B) {
  return Checked(A, B, [](long double a, long double b) { return a * b; });
}
long double Div(long double A, long double B) {
  return Checked(A, B, [](long double a, long double b) { return a / b; });
}
long double Sqrt(long double A) {
  return Checked(A, 0, [](long double a, long double) { return sqrtl(a); });
}
long double ArcTan(long double A) {
  return Checked(A, 0, [](long double a, long double) { return atanl(a); });
}
long double Abs(long double A) {
  return Checked(A, 0, [](long double a, long double) { return fabsl(a); });
}

long double FromBytes(const unsigned char (&Bytes)[10]) {
  long double v = 0;
  std::memcpy(&v, Bytes, 10);
  return v;
}

}  // namespace Extended
