#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

#include "components/util/Date.h"
#include "components/util/Money.h"

namespace util {

// The kinds a value can have. The numbers of the SQL literal type codes the
// program passes around (2 Integer, 3 Long, 5 Double, 7 Date, 8 Text) are the
// automation variant numbers; VarTypeCode gives them.
enum class VType { Null, Integer, Long, Double, Currency, Text, Date, Boolean };

int VarTypeCode(VType type);

// A variant value as the program's routines pass it: what a field read from
// the database holds, what a screen field gives, what a parameter carries.
// Conversions follow the Italian regional conventions of the suite: decimal
// comma, dates dd/mm/yyyy.
class Value {
 public:
  Value() = default;  // null
  Value(std::nullptr_t) {}
  Value(int16_t v) : v_(v) {}
  Value(int32_t v) : v_(v) {}
  Value(double v) : v_(v) {}
  Value(Money v) : v_(v) {}
  Value(std::string v) : v_(std::move(v)) {}
  Value(std::string_view v) : v_(std::string(v)) {}
  Value(const char* v) : v_(std::string(v)) {}
  Value(Date v) : v_(v) {}
  Value(bool v) : v_(v) {}

  static Value Integer(int v) { return Value(static_cast<int16_t>(v)); }
  static Value Long(int64_t v) { return Value(static_cast<int32_t>(v)); }

  VType type() const { return static_cast<VType>(v_.index()); }
  bool isNull() const { return type() == VType::Null; }
  bool isNumeric() const;

  // Text as the program would show it: numbers with a decimal comma and no
  // grouping, dates dd/mm/yyyy, booleans "Vero"/"Falso", null "".
  std::string toText() const;
  // Conversions; text is read with the Italian conventions ("1.234,5"), a null
  // gives 0, the empty date or "". Throw std::invalid_argument when the value
  // cannot be converted, std::out_of_range when it does not fit.
  double toDouble() const;
  Money toMoney() const;
  int32_t toLong() const;
  int16_t toInteger() const;
  Date toDate() const;
  bool toBool() const;

  // The stored alternative, without conversion (precondition: type matches).
  const std::string& text() const { return std::get<std::string>(v_); }

  friend bool operator==(const Value&, const Value&) = default;

 private:
  std::variant<std::monostate, int16_t, int32_t, double, Money, std::string, Date, bool> v_;
};

// Reads a number written with the Italian conventions: optional sign, '.' as
// thousands separator, ',' as decimal separator; surrounding blanks allowed.
// A text without a comma whose dots do not group thousands ("1.5") is read
// with the dot as decimal point, as typed on a keypad.
bool ParseItalianNumber(std::string_view text, double& out);

}  // namespace util
