#pragma once
// The value checks the input controls make when the focus leaves them: the
// range check of dates and numbers against MinValue and MaxValue (one
// implementation for the edit box and the combo box), and the e-mail shape.
#include "controls/Strcaps.h"
#include "framework/rtl/FormatSettings.h"
#include "framework/rtl/Variant.h"

// Whether a bound takes part: its text form is not empty. A bound whose text
// form cannot even be read counts as set, so the check then fails safely.
bool BoundIsSet(const Variant& Bound);

// The range check of a non-empty Text under Filter. With no bound set every
// text passes. Otherwise the text must convert (chDate: a date and time;
// chNumber: a whole number; chDecimal: a decimal number with the regional
// separator, with a digit before any exponent) and lie within the bounds
// that are set, inclusive; an unset bound does not limit its side. A conversion that fails, of the
// text or of a bound, makes the text invalid. Other filters always pass.
bool ValueInBounds(const AnsiString& Text, CharFilterType Filter, const Variant& MinValue,
                   const Variant& MaxValue, const TFormatSettings& Settings);

// The e-mail shape: an "@" that is neither first nor last, no second "@" in
// the 255 characters after it, a "." in the 255 characters beginning two
// after it, no "." at the end and no "," anywhere.
bool EMailShapeValid(const AnsiString& Text);
