#include "components/util/Convert.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

#include "components/util/Round.h"
#include "components/util/Text.h"

namespace util {
namespace {

void Segna(bool* valido, bool v) {
  if (valido) *valido = v;
}

bool Blank(const Value& v) { return v.isNull() || (v.type() == VType::Text && Trim(v.text()).empty()); }

template <typename T>
T ToWhole(const Value& v, bool* valido) {
  Segna(valido, true);
  if (v.type() == VType::Integer || v.type() == VType::Long) {
    const int32_t l = v.toLong();
    if (l >= std::numeric_limits<T>::min() && l <= std::numeric_limits<T>::max()) return static_cast<T>(l);
    Segna(valido, false);
    return 0;
  }
  bool ok = true;
  const double d = Round(ToNumber(v, &ok), "A", 1, 0);
  if (!ok || d < std::numeric_limits<T>::min() || d > std::numeric_limits<T>::max()) {
    Segna(valido, false);
    return 0;
  }
  return static_cast<T>(d);
}

}  // namespace

double ToNumber(const Value& v, bool* valido) {
  Segna(valido, true);
  if (Blank(v)) return 0;
  try {
    const double d = v.toDouble();
    if (std::isfinite(d)) return d;
  } catch (const std::exception&) {
  }
  Segna(valido, false);
  return 0;
}

int16_t ToInteger(const Value& v, bool* valido) { return ToWhole<int16_t>(v, valido); }
int32_t ToLong(const Value& v, bool* valido) { return ToWhole<int32_t>(v, valido); }

Date ToDate(const Value& v, bool* valido) {
  Segna(valido, true);
  if (Blank(v)) return Date();
  try {
    return v.toDate();
  } catch (const std::exception&) {
    Segna(valido, false);
    return Date();
  }
}

Value NzAs(const Value& v, int typeCode) {
  switch (typeCode) {
    case 2: return Value(ToInteger(v));
    case 3: return Value(ToLong(v));
    case 5: return Value(ToNumber(v));
    case 6: return Value(Money::FromDouble(ToNumber(v)));
    case 7: return Value(ToDate(v));
    default: return Value(v.isNull() ? std::string() : v.toText());
  }
}

bool IsEmptyValue(const Value& v, int typeCode) {
  if (Blank(v)) return true;
  if (typeCode == 7) {
    bool ok = true;
    const Date d = ToDate(v, &ok);
    return ok && d.isEmpty();
  }
  return false;
}

double MinOfArray(std::span<const double> values) {
  if (values.empty()) return 0;
  return *std::min_element(values.begin(), values.end());
}

}  // namespace util
