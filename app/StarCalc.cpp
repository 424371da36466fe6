#include "app/StarCalc.h"

#include "framework/rtl/Extended.h"
#include "framework/rtl/FloatText.h"

namespace {

// The constants were single-precision floats; their values are exact.
constexpr float kPercent = 100.0f;
constexpr float kHalfTurn = 180.0f;
constexpr float kQuarterTurn = 90.0f;
constexpr float kOne = 1.0f;

// Radians-to-degrees divisor: the extended value nearest to the reciprocal of
// pi as rounded to double, kept bit for bit.
const long double K =
    Extended::FromBytes({0xf4, 0x16, 0x44, 0x4e, 0x6e, 0x83, 0xf9, 0xa2, 0xfd, 0x3f});

// Emptiness is tested X fields first, image by image, then the Y fields.
constexpr StarField kEmptinessOrder[8] = {I1S1X, I1S2X, I2S1X, I2S2X, I1S1Y, I1S2Y, I2S1Y, I2S2Y};

// Conversion order: p1x, q1x, p2x, q2x, p1y, q1y, p2y, q2y; the same order.
constexpr const StarField (&kConversionOrder)[8] = kEmptinessOrder;

// (S - 1) * 90 for S = d / |d|: 0 when d > 0, -180 when d < 0.
long double HalfTurnCorrection(long double d) {
  using namespace Extended;
  const long double s = Div(d, Abs(d));
  return Mul(Sub(s, kOne), kQuarterTurn);
}

}  // namespace

StarCalcValues CalcScaleRotationValues(const std::array<long double, 8>& v) {
  using namespace Extended;
  try {
    const long double dx1 = Sub(v[I1S2X], v[I1S1X]);
    const long double dy1 = Sub(v[I1S2Y], v[I1S1Y]);
    const long double dx2 = Sub(v[I2S2X], v[I2S1X]);
    const long double dy2 = Sub(v[I2S2Y], v[I2S1Y]);
    const long double d1 = Add(Mul(dx1, dx1), Mul(dy1, dy1));
    const long double d2 = Add(Mul(dx2, dx2), Mul(dy2, dy2));
    const long double resize = Mul(Sqrt(Div(d1, d2)), kPercent);

    // Image 2 first: the order of the divisions decides which error is seen.
    const long double a2 = ArcTan(Div(dy2, dx2));
    const long double a1 = ArcTan(Div(dy1, dx1));
    const long double r = Mul(Mul(Sub(a2, a1), kHalfTurn), K);
    const long double t = Sub(r, HalfTurnCorrection(dx2));
    const long double rotate = -Add(HalfTurnCorrection(dx1), t);
    return {resize, rotate};
  } catch (...) {
    Reset();  // the next calculation starts with clean flags
    throw;
  }
}

std::optional<StarCalcTexts> CalcScaleRotation(const std::array<AnsiString, 8>& texts,
                                               const TFormatSettings& settings) {
  for (StarField f : kEmptinessOrder)
    if (texts[f].empty()) return std::nullopt;

  std::array<long double, 8> v{};
  for (StarField f : kConversionOrder) v[f] = StrToFloat(texts[f], settings);

  const StarCalcValues r = CalcScaleRotationValues(v);
  return StarCalcTexts{FloatToStrF(r.Resize, ffCurrency, 18, 2, settings),
                       FloatToStrF(r.Rotate, ffCurrency, 18, 2, settings)};
}
