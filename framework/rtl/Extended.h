#pragma once
// Extended-precision (x87, 64-bit significand) arithmetic that reports the
// floating-point errors the framework raises: each operation starts with the
// error flags clear, computes, and throws EInvalidOp, EZeroDivide or
// EOverflow when its own step raised that condition. Traps stay masked; underflow,
// denormal and inexact results pass silently.
#include <cfloat>

static_assert(LDBL_MANT_DIG == 64, "the calculation needs the x87 80-bit extended format");

namespace Extended {

long double Add(long double A, long double B);
long double Sub(long double A, long double B);
long double Mul(long double A, long double B);
long double Div(long double A, long double B);
long double Sqrt(long double A);
long double ArcTan(long double A);
long double Abs(long double A);

// Throws for a pending invalid-operation, division-by-zero or overflow flag.
void CheckErrors();
// Clears every status flag, as after an error has been reported.
void Reset();

// An extended value from its ten bytes in memory order (significand first,
// little-endian; then sign and biased exponent).
long double FromBytes(const unsigned char (&Bytes)[10]);

}  // namespace Extended
