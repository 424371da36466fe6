#pragma once
// Scale and rotation of image 2 against image 1 from two star pairs, in
// extended precision, as result texts in the regional currency layout.
#include <array>
#include <optional>

#include "framework/rtl/AnsiString.h"
#include "framework/rtl/FormatSettings.h"

struct StarCalcTexts {
  AnsiString Resize;
  AnsiString Rotate;
};

// The field order of the texts: I1S1X, I1S1Y, I1S2X, I1S2Y, I2S1X, I2S1Y,
// I2S2X, I2S2Y (image, star, axis).
enum StarField { I1S1X, I1S1Y, I1S2X, I1S2Y, I2S1X, I2S1Y, I2S2X, I2S2Y };

struct StarCalcValues {
  long double Resize;
  long double Rotate;
};

// The arithmetic alone, on the converted coordinates in field order. Throws
// EZeroDivide, EInvalidOp or EOverflow from the first step that fails.
StarCalcValues CalcScaleRotationValues(const std::array<long double, 8>& v);

// texts: the eight field texts in the order of the field table:
// I1S1X, I1S1Y, I1S2X, I1S2Y, I2S1X, I2S1Y, I2S2X, I2S2Y.
// Returns std::nullopt for incomplete input; throws EConvertError, EZeroDivide,
// EInvalidOp or EOverflow for the other failures, in the order of the steps.
std::optional<StarCalcTexts> CalcScaleRotation(const std::array<AnsiString, 8>& texts,
                                               const TFormatSettings& settings);
