#pragma once

#include <map>
#include <string>

#include "components/db/DbExecutor.h"
#include "components/util/Date.h"

namespace demo {

struct Opzioni {
  util::Date oggi = util::Date::Carry(2026, 12, 10);  // the company's working day
  int scadenze = 500;                                 // open installments to create
  std::string operatore = "Rossi";
  bool odbc = false;  // the database is reached through ODBC
};

// Creates the schema and fills a small Italian company in euro on an empty
// database: chart of accounts, 20 customers and 10 suppliers, currencies with
// their rates, payment types and terms, transaction and VAT codes, rounding
// tables, and two years of invoices and credit notes posted by the posting
// engine with their open installments.
void CreaAzienda(db::DbExecutor& db, const std::string& conn, const Opzioni& opzioni);

// What a company holds, table by table, for the report of the builder.
std::map<std::string, long> ContaRighe(db::DbExecutor& db, const std::string& conn);

// The parameters file of the reference menu host for this company: company
// parameters, the operator's personal parameters and the host's own values.
std::string FileParametri(const std::string& nomeDatabase, const Opzioni& opzioni);

}  // namespace demo
