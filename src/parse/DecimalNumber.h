// The number a text begins with, read the way the fields describe it: optional leading white
// space, an optional sign, digits with an optional decimal point (at least one digit), and, where
// allowed, an exponent. Whatever follows is ignored. Unlike the C library's scan this never
// reads hexadecimal, "inf" or "nan", and a number too large for a double counts as none, so no
// value that is not finite can come out of a field.
#pragma once

bool ReadDecimalNumber(const char* text, bool allowExponent, double* value);
