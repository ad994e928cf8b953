#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <tuple>

#include "components/db/DbCursor.h"
#include "components/util/Date.h"
#include "components/util/Money.h"
#include "src/data/Contesto.h"

namespace compensato::posting {

// What the running totals need of one posted line.
struct RigaProgressivo {
  int16_t anno = 0;
  std::string tipoPartita;
  std::string gruppoPartita;
  std::string mastroPartita;
  std::string contoPartita;
  std::string dareAvere;  // "D" debit; anything else counts as credit
  util::Money importo;    // company currency
};

// The running totals of one registration, written once per account: the
// PdcProg row of each account and year is read (and, on engines that lock
// rows, locked) at the account's first line, every line is added to it in
// line order (an opening entry moves the opening balance instead), and
// Scrivi stores each row once, creating it on the account's first line of the
// year. A registration with many lines on few accounts, a settlement
// run's, sends two statements per account instead of two per line. Errors
// reach the caller, whose transaction makes the totals all or nothing.
class ProgressiviRegistrazione {
 public:
  ProgressiviRegistrazione(Contesto& ctx, util::Date dataReg, bool apertura, int16_t decimali)
      : ctx_(ctx), dataReg_(dataReg), apertura_(apertura), decimali_(decimali) {}
  void Aggiungi(const RigaProgressivo& riga);
  void Scrivi();

 private:
  struct Totale {
    std::string key;  // the account's row in cursore_
    bool nuovo = false;
    util::Money saldo, dare, avere;
    util::Date ultAgg;
  };
  Contesto& ctx_;
  const util::Date dataReg_;
  const bool apertura_;
  const int16_t decimali_;
  db::DbCursor cursore_;
  // By year and account, codes compared without regard to case as the
  // engines' text columns compare them.
  std::map<std::tuple<int16_t, std::string, std::string, std::string, std::string>, Totale> totali_;
};

}  // namespace compensato::posting
