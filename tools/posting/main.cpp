// compensato-posting: posts a range of registrations of one year from a source
// table set, as the posting engine does inside the programs. It is how an
// operator reposts a registration left staged by an interruption.
//
//   compensato-posting --year AAAA [--from N] [--to N] [--params FILE] [--db NAME]
//                      [--operator OP] [--header T --lines T --vat T] [--mode N|F|A]
//                      [--renumber] [--keep-number] [--in-place] [--installments]
//                      [--force-installments] [--bank B] [--grouping G]
//
// The defaults post staged lines (MovPnTes, MovPnDettApp, MovPnIvaApp) in mode
// "N" without renumbering or installments. It prints the engine's message,
// error count and error text; the exit status is 0 without errors.
#include <cstdint>
#include <iostream>
#include <map>
#include <memory>
#include <set>
#include <string>

#include "components/db/DbExecutor.h"
#include "components/util/CommandLine.h"
#include "components/util/Error.h"
#include "src/company/ParametriAzienda.h"
#include "src/data/Contesto.h"
#include "src/posting/ContabMovPn.h"
#include "tools/batch/BatchOperatore.h"
#include "tools/batch/HostFile.h"

namespace {

constexpr const char* kUso = "uso: compensato-posting --year AAAA [--from N] [--to N] [--params FILE] [--db NOME]\n"
                             "       [--operator OP] [--header T --lines T --vat T] [--mode N|F|A] [--renumber]\n"
                             "       [--keep-number] [--in-place] [--installments] [--force-installments]\n"
                             "       [--bank B] [--grouping G]\n";

const std::set<std::string> kFlag = {"--renumber", "--keep-number", "--in-place", "--installments",
                                     "--force-installments"};
const std::set<std::string> kValori = {"--year",   "--from",  "--to",  "--params", "--db",   "--operator",
                                       "--header", "--lines", "--vat", "--mode",   "--bank", "--grouping"};

}  // namespace

int main(int argc, char** argv) {
  std::map<std::string, std::string> o;
  for (int i = 1; i < argc; ++i) {
    const std::string k = argv[i];
    if (kFlag.count(k)) {
      o[k] = "1";
    } else if (kValori.count(k) && i + 1 < argc) {
      o[k] = argv[++i];
    } else {
      std::cerr << kUso;
      return 2;
    }
  }
  auto di = [&](const std::string& k, const std::string& d = "") {
    const auto it = o.find(k);
    return it == o.end() ? d : it->second;
  };
  if (!o.count("--year") || (!o.count("--params") && !o.count("--db"))) {
    std::cerr << kUso;
    return 2;
  }
  const std::string modo = di("--mode", "N");
  if (modo != "N" && modo != "F" && modo != "A") {
    std::cerr << kUso;
    return 2;
  }
  int16_t anno = 0;
  int32_t da = 0, fino = 0;
  try {
    anno = static_cast<int16_t>(util::IntegerOption("--year", di("--year"), 1, 9999));
    da = static_cast<int32_t>(util::IntegerOption("--from", di("--from", "0"), INT32_MIN, INT32_MAX));
    fino = static_cast<int32_t>(util::IntegerOption("--to", di("--to", "0"), INT32_MIN, INT32_MAX));
  } catch (const util::OptionError& e) {
    std::cerr << "compensato-posting: " << e.what() << "\n";
    return 2;
  }
  try {
    // Without a parameters file every company parameter reads empty.
    batch::HostFile host(di("--params"), di("--operator", "posting"));
    batch::BatchOperatore op(std::cout, false);
    db::DbExecutor db;
    std::string nome = di("--db");
    if (nome.empty()) nome = host.GetParameter("NomeDBAzie").toText();
    db.SetSetting("DbSqlPubUID", host.GetParameter("SqlLogin"));
    db.SetSetting("DbSqlPubPWD", host.GetParameter("SqlPwd"));
    db.SetSetting("DbAccPWD", host.GetParameter("PwdDbAzie"));
    const std::string conn = db.OpenDatabase(nome);
    compensato::Contesto ctx(host, db, conn, op);
    compensato::LeggiIdentita(ctx);
    company::CaricaDatiAzienda(host, db, conn, ctx.azienda);

    compensato::posting::ArgomentiContab a;
    a.tabTestata = di("--header", a.tabTestata);
    a.tabRighe = di("--lines", a.tabRighe);
    a.tabIva = di("--vat", a.tabIva);
    a.rinumera = o.count("--renumber") > 0;
    a.creaScadenze = o.count("--installments") > 0 || o.count("--force-installments") > 0;
    a.anno = anno;
    a.numRegDa = da;
    a.numRegA = fino;
    a.forzaScadenze = o.count("--force-installments") > 0;
    a.inLinea = o.count("--in-place") > 0;
    if (o.count("--bank")) a.bancaForzata = util::Value(di("--bank"));
    if (o.count("--grouping")) a.ragRbForzato = util::Value(di("--grouping"));
    a.mantieniNumero = o.count("--keep-number") > 0;
    a.modo = modo;
    compensato::posting::ContabMovPn(ctx, a);
    std::cout << "Messaggio: " << a.messaggio << "\n"
              << "Ultima registrazione: " << a.numRegContab << "\n"
              << "Errori: " << a.numErrori << "\n";
    if (!a.testoErrori.empty()) std::cout << "Testo errori: " << a.testoErrori << "\n";
    db.CloseDatabase(conn);
    return a.numErrori == 0 ? 0 : 1;
  } catch (const util::RuntimeError& e) {
    std::cerr << "compensato-posting: errore " << e.number() << ": " << e.description() << "\n";
  } catch (const std::exception& e) {
    std::cerr << "compensato-posting: " << e.what() << "\n";
  }
  return 1;
}
