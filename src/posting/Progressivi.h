#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

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
// lines are gathered by account, then one query reads (and, on engines that
// lock rows, locks) the PdcProg rows of all the registration's accounts, each
// account's lines are added to its row in line order with the rounding of one
// by one (an opening entry moves the opening balance instead), and each row
// is stored once, made on the account's first line of the year. A
// registration sends one read, one UPDATE for the rows already there (per 25
// accounts) and one INSERT per account new that year, instead of two
// statements per line. Errors reach the caller, whose transaction makes the totals all
// or nothing.
class ProgressiviRegistrazione {
 public:
  ProgressiviRegistrazione(Contesto& ctx, util::Date dataReg, bool apertura, int16_t decimali)
      : ctx_(ctx), dataReg_(dataReg), apertura_(apertura), decimali_(decimali) {}
  void Aggiungi(const RigaProgressivo& riga);
  void Scrivi();

 private:
  // By year and account, codes compared without regard to case as the
  // engines' text columns compare them.
  using Chiave = std::tuple<int16_t, std::string, std::string, std::string, std::string>;
  struct Conto {
    RigaProgressivo codici;                           // the account's first line
    std::vector<std::pair<bool, util::Money>> righe;  // debit?, amount: in line order
    bool scritto = false;
  };
  static Chiave ChiaveDi(const RigaProgressivo& r);

  Contesto& ctx_;
  const util::Date dataReg_;
  const bool apertura_;
  const int16_t decimali_;
  db::DbCursor cursore_;
  std::map<Chiave, Conto> conti_;
};

}  // namespace compensato::posting
