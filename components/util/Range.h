#pragma once

#include "components/util/Value.h"

namespace util {

// What the bounds of a range are.
enum class RangeKind {
  Date,            // read as dates (dd/mm/yyyy, short entries not completed)
  AccountCode,     // account codes, with or without their dashes
  DocumentNumber,  // numbers when both are whole numbers, else texts
  Text,
};

// True when both bounds are given and the lower one is greater than the upper
// one. An empty bound leaves the range open on that side, so it is never
// inverted; a bound that cannot be read as its kind is not an inverted range
// either (the field's own check reports it).
//
// Document numbers compare as numbers when both are whole numbers, so "9" is
// below "12"; otherwise as texts ignoring case ("A12" below "b3").
bool RangeInverted(const Value& lower, const Value& upper, RangeKind kind);

}  // namespace util
