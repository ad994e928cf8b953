#pragma once

#include <string>
#include <string_view>

namespace util {

// Account codes ("conto"): group, ledger (mastro) and account, 2 + 2 + the rest
// of the length (10: 2 + 2 + 6 characters, as the chart of accounts stores
// them).
//
// Stored form: the three parts one after the other, no dashes ("01020003").
// Display form: the parts joined by dashes ("01-02-0003"). Both split the same
// way: without dashes after 2 and 4 characters, with dashes at the dashes.
//
// Typed with dashes, a one-digit group or ledger gets its leading zero
// ("1-2-0003" is 01-02-0003); the account part is kept as typed, because
// charts hold accounts of any width up to the limit and "3" is not "000003".
// Blanks around parts are dropped. A code with more than two dashes, or parts
// longer than their width, is kept as typed (trimmed) so that the lookup
// refuses it instead of a silently different account.
//
// Other kinds: the text trimmed, for both forms.
std::string NormaliseCode(std::string_view text, std::string_view kind = "conto", int length = 10);
std::string FormatCode(std::string_view text, std::string_view kind = "conto", int length = 10);

struct AccountParts {
  std::string gruppo, mastro, conto;
};
// The parts of a code in either form.
AccountParts SplitAccountCode(std::string_view code);

}  // namespace util
