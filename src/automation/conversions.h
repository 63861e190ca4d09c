#pragma once
// Conversions with the automation runtime's rules, in one place. Nobody converts inline.
//
//  - To integers: round half to even; out of range raises 6 (Overflow); a string that is
//    not a number raises 13 (Type mismatch); Null raises 94; Empty is 0; Boolean true is -1.
//  - A text that is a number too large for a Double ("1e999", &H with more than 32 bits)
//    raises 6 in every conversion, as beyond the range of the target type does; a tiny one
//    ("1e-400") is 0.
//  - Texts read as in the en-US locale: "." is the decimal point and a comma between two
//    digits of the whole part separates thousands ("1,5" is 15, "1,000.5" is 1000.5).
//  - To text: a Boolean true is "True"; a whole Single or Double has no decimal point;
//    Single keeps 7 significant digits, Double 15.
//  - isNumeric: the runtime's numeric test, whether CDbl would succeed (Empty counts as
//    numeric; "" and "1e999" do not).
//  - val: the leading-number rule: the number at the start of a text, 0 when there is none;
//    commas end the number ("1,5" is 1) and a number too large for a Double raises 6.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "automation/variant.h"

namespace zadeve::automation {

int16_t toInteger(const Variant& v);
int32_t toLong(const Variant& v);
float toSingle(const Variant& v);
double toDouble(const Variant& v);
bool toBoolean(const Variant& v);
std::string toString(const Variant& v);
// The object held, Nothing included; anything else raises 13.
ObjectRef toObject(const Variant& v);
// Converts to the type a member table names (VarType::Variant returns v unchanged).
Variant convertTo(const Variant& v, VarType type);

// Rounds half to even and checks the range of the 16- and 32-bit integers.
int16_t roundToInteger(double d);
int32_t roundToLong(double d);

// 32-bit Long arithmetic of the runtime: a result out of range raises 6.
int32_t addLong(int32_t a, int32_t b);
int32_t subtractLong(int32_t a, int32_t b);

// A whole text as a number: blanks around it, a sign, digits (with thousands commas) and
// one decimal point, an exponent (E or D), or &H / &O radix prefixes. nullopt when it is
// not a number or one too large for a Double.
std::optional<double> parseNumber(std::string_view text);
bool isNumeric(const Variant& v);
double val(std::string_view text);
// The plain leading number: leading blanks, an optional sign, then digits with an optional
// "." fraction, up to the first other character (no exponent, no radix prefix); 0 when the
// text does not start with a number.
double leadingNumber(std::string_view text);

std::string formatDouble(double d);
std::string formatSingle(float f);

// ASCII-only case handling, as the runtime compares member names and upper-cases values.
std::string toUpper(std::string_view s);
bool equalsIgnoreCase(std::string_view a, std::string_view b);

}  // namespace zadeve::automation
