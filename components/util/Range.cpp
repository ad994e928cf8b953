#include "components/util/Range.h"

#include <charconv>

#include "components/util/AccountCode.h"
#include "components/util/Convert.h"
#include "components/util/Text.h"

namespace util {
namespace {

bool WholeNumber(const std::string& s, long long& out) {
  if (s.empty()) return false;
  const auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
  return ec == std::errc() && ptr == s.data() + s.size();
}

}  // namespace

bool RangeInverted(const Value& lower, const Value& upper, RangeKind kind) {
  if (IsEmptyValue(lower, kind == RangeKind::Date ? 7 : 8) || IsEmptyValue(upper, kind == RangeKind::Date ? 7 : 8))
    return false;
  switch (kind) {
    case RangeKind::Date: {
      bool okA = true, okB = true;
      const Date a = ToDate(lower, &okA), b = ToDate(upper, &okB);
      return okA && okB && a.dateOnly() > b.dateOnly();
    }
    case RangeKind::AccountCode: return NormaliseCode(lower.toText()) > NormaliseCode(upper.toText());
    case RangeKind::DocumentNumber: {
      const std::string a = Trim(lower.toText()), b = Trim(upper.toText());
      long long na = 0, nb = 0;
      if (WholeNumber(a, na) && WholeNumber(b, nb)) return na > nb;
      return ToUpper(a) > ToUpper(b);
    }
    case RangeKind::Text: return ToUpper(Trim(lower.toText())) > ToUpper(Trim(upper.toText()));
  }
  return false;
}

}  // namespace util
