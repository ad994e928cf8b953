#include "tests/support/Invarianti.h"

#include <map>
#include <set>
#include <tuple>

#include "components/db/DbCursor.h"
#include "components/util/Text.h"

namespace testsupport {
namespace {

using Registrazione = std::pair<int, int32_t>;
using Conto = std::tuple<int, std::string, std::string, std::string, std::string>;

struct Totali {
  util::Money saldo, dare, avere;
};

std::string Descrivi(const Conto& k) {
  return std::to_string(std::get<0>(k)) + " " + std::get<1>(k) + "/" + std::get<2>(k) + "-" + std::get<3>(k) + "-" +
         std::get<4>(k);
}

std::string Testo(db::DbCursor& c, const std::string& key, const char* campo) {
  return c.GetField(key, campo).toText();
}

std::set<Registrazione> Chiavi(db::DbExecutor& db, const std::string& conn, const std::string& tabella) {
  db::DbCursor c;
  std::set<Registrazione> chiavi;
  const std::string key = c.Open(db, conn, "", "Select Anno, NumReg from " + tabella, false, db::kSnapshot);
  for (c.MoveFirst(key); !c.Eof(key); c.MoveNext(key))
    chiavi.emplace(c.GetField(key, "Anno").toInteger(), c.GetField(key, "NumReg").toLong());
  c.Close(key);
  return chiavi;
}

}  // namespace

std::string VerificaInvarianti(db::DbExecutor& db, const std::string& conn) {
  std::string errori;
  db::DbCursor c;

  std::map<std::string, bool> apertura;  // transaction code -> opening entry
  std::string key = c.Open(db, conn, "", "Select Causale, TipoCausale from Causali", false, db::kSnapshot);
  for (c.MoveFirst(key); !c.Eof(key); c.MoveNext(key))
    apertura[Testo(c, key, "Causale")] = util::EqualsIgnoreCase(Testo(c, key, "TipoCausale"), "AP");
  c.Close(key);

  std::map<Registrazione, bool> registrazioneApertura;
  key = c.Open(db, conn, "", "Select Anno, NumReg, Causale from MovPnTes", false, db::kSnapshot);
  for (c.MoveFirst(key); !c.Eof(key); c.MoveNext(key))
    registrazioneApertura[{c.GetField(key, "Anno").toInteger(), c.GetField(key, "NumReg").toLong()}] =
        apertura[Testo(c, key, "Causale")];
  c.Close(key);

  std::map<Registrazione, util::Money> sbilancio;
  std::map<Conto, Totali> attesi;
  key = c.Open(db, conn, "", "Select * from MovPnDett", false, db::kSnapshot);
  for (c.MoveFirst(key); !c.Eof(key); c.MoveNext(key)) {
    const Registrazione reg{c.GetField(key, "Anno").toInteger(), c.GetField(key, "NumReg").toLong()};
    const bool dare = Testo(c, key, "DareAvere") == "D";
    const util::Money importo = c.GetField(key, "Importo").toMoney();
    sbilancio[reg] += dare ? importo : -importo;
    Totali& t = attesi[{reg.first, Testo(c, key, "TipoPartita"), Testo(c, key, "GruppoPartita"),
                        Testo(c, key, "MastroPartita"), Testo(c, key, "ContoPartita")}];
    if (registrazioneApertura[reg])
      t.saldo += dare ? importo : -importo;
    else
      (dare ? t.dare : t.avere) += importo;
  }
  c.Close(key);
  for (const auto& [reg, s] : sbilancio)
    if (s != util::Money())
      errori += "registrazione " + std::to_string(reg.first) + "/" + std::to_string(reg.second) +
                " non bilanciata di " + s.toString() + "\n";

  std::map<Conto, Totali> trovati;
  key = c.Open(db, conn, "", "Select * from PdcProg", false, db::kSnapshot);
  for (c.MoveFirst(key); !c.Eof(key); c.MoveNext(key)) {
    Totali& t = trovati[{c.GetField(key, "Anno").toInteger(), Testo(c, key, "PartTipo"), Testo(c, key, "CoPartGruppo"),
                         Testo(c, key, "CoPartMastro"), Testo(c, key, "CoPartConto")}];
    t.saldo = c.GetField(key, "SaldoIniziale").toMoney();
    t.dare = c.GetField(key, "ProgrDare").toMoney();
    t.avere = c.GetField(key, "ProgrAvere").toMoney();
  }
  c.Close(key);
  // A missing row is a row of zeros: lines of 0.00 need none.
  for (const auto& [conto, atteso] : attesi) {
    const auto it = trovati.find(conto);
    const Totali t = it == trovati.end() ? Totali{} : it->second;
    if (t.saldo != atteso.saldo || t.dare != atteso.dare || t.avere != atteso.avere)
      errori += "PdcProg di " + Descrivi(conto) + ": saldo " + t.saldo.toString() + " dare " + t.dare.toString() +
                " avere " + t.avere.toString() + ", righe: saldo " + atteso.saldo.toString() + " dare " +
                atteso.dare.toString() + " avere " + atteso.avere.toString() + "\n";
  }
  for (const auto& [conto, t] : trovati)
    if (!attesi.count(conto) && (t.saldo != util::Money() || t.dare != util::Money() || t.avere != util::Money()))
      errori += "PdcProg di " + Descrivi(conto) + " senza righe contabilizzate\n";

  std::set<Registrazione> contabilizzate;
  for (const auto& [reg, s] : sbilancio) contabilizzate.insert(reg);
  for (const char* appoggio : {"MovPnDettApp", "MovPnIvaApp"})
    for (const Registrazione& reg : Chiavi(db, conn, appoggio))
      if (contabilizzate.count(reg))
        errori += std::string(appoggio) + " ha ancora righe della registrazione contabilizzata " +
                  std::to_string(reg.first) + "/" + std::to_string(reg.second) + "\n";
  return errori;
}

}  // namespace testsupport
