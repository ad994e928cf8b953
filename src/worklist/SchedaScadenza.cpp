#include "src/worklist/SchedaScadenza.h"

#include "components/util/AccountCode.h"
#include "components/util/NumberFormat.h"
#include "components/util/SqlLiteral.h"
#include "components/util/Text.h"

namespace compensato {

std::string DidascaliaTipo(const std::string& tipo) {
  const std::string t = util::Trim(tipo);
  if (t == "1") return "Conto:";
  if (t == "2") return "Fornitore:";
  if (t == "3") return "Cliente:";
  if (t == "4") return "Codice:";
  return "";
}

std::optional<SchedaScadenza> LeggiSchedaScadenza(Contesto& ctx, const util::Value& anno, const util::Value& numProg) {
  const std::string w = ctx.run.tabScadenzeApp;
  std::string campi;
  for (const char* f :
       {".Tipo",    ".GruppoScad",  ".MastroScad",  ".ContoScad", ".DataScad", ".Pagamento", ".BancaCF",      ".NumReg",
        ".AnnoReg", ".Prefisso",    ".NumDoc",      ".DataDoc",   ".PreProt",  ".NumProt",   ".DataProt",     ".Rata",
        ".Moneta",  ".ImportoScad", ".ImportoFatt", ".Cambio",    ".Causale",  ".AnnoReg",   ".EntrataUscita"}) {
    if (!campi.empty()) campi += ",";
    campi += w + f;
  }
  const std::string sql = "SELECT " + campi + ",PianoConti.Descrizione AS RagSoc" +
                          ",Monete.Descrizione AS DesMoneta, Monete.NumDec" + ",Pagamenti.Descrizione AS DesPagamento" +
                          ",Banche.Descrizione AS DesBanca" + ",Causali.Descrizione AS DesCausale" + " FROM ((((" + w +
                          " LEFT JOIN Monete ON " + w + ".Moneta = Monete.Moneta)" + " LEFT JOIN Pagamenti ON " + w +
                          ".Pagamento = Pagamenti.Pagamento)" + " LEFT JOIN PianoConti ON (" + w +
                          ".Tipo = PianoConti.Tipo) " + " AND (" + w + ".GruppoScad = PianoConti.Gruppo)" + " AND (" +
                          w + ".MastroScad = PianoConti.Mastro)" + " AND (" + w + ".ContoScad = PianoConti.Conto))" +
                          " LEFT JOIN Banche ON " + w + ".BancaCF = Banche.Banca)" + " LEFT JOIN Causali ON " + w +
                          ".Causale = Causali.Causale" + " WHERE " + w + ".Anno = " + util::SqlLiteral(anno, 2) +
                          " AND " + w + ".NumProg = " + util::SqlLiteral(numProg, 3);
  db::DbCursor c;
  const std::string k = c.Open(ctx.db, ctx.conn, "", sql, false, db::kSnapshot);
  if (c.IsEmpty(k)) {
    c.Close(k);
    return std::nullopt;
  }
  auto testo = [&](const char* campo) { return c.GetField(k, campo).toText(); };
  auto data = [&](const char* campo) {
    const util::Value v = c.GetField(k, campo);
    return v.isNull() ? std::string() : util::FormatDate(v.toDate());
  };
  SchedaScadenza s;
  auto& e = s.etichette;
  e["labTipo"] = DidascaliaTipo(testo("Tipo"));
  e["labCodice"] = util::FormatCode(util::Trim(testo("GruppoScad")) + util::Trim(testo("MastroScad")) +
                                    util::Trim(testo("ContoScad")));
  e["labDesCodice"] = testo("RagSoc");
  e["labDataScadenza"] = data("DataScad");
  e["labDataDoc"] = data("DataDoc");
  e["labDataProt"] = data("DataProt");
  // clang-format off
  const std::pair<const char*, const char*> campi2[] = {
      {"labPagamento", "Pagamento"}, {"labDesPagamento", "DesPagamento"}, {"labBanca", "BancaCF"},
      {"labDesBanca", "DesBanca"},   {"labNumReg", "NumReg"},             {"labAnnoReg", "AnnoReg"},
      {"labPrefNumDoc", "Prefisso"}, {"labNumDoc", "NumDoc"},             {"labPrefNumProt", "PreProt"},
      {"labNumProt", "NumProt"},     {"labRata", "Rata"},                 {"labMoneta", "Moneta"},
      {"labDesMoneta", "DesMoneta"}, {"labCambio", "Cambio"},             {"labCauContabile", "Causale"},
      {"LabDesCauContabile", "DesCausale"}};
  // clang-format on
  for (const auto& [etichetta, campo] : campi2) e[etichetta] = testo(campo);
  const util::Value dec = c.GetField(k, "NumDec");
  const std::string maschera = util::BuildNumberMask(dec.isNull() ? 0 : dec.toInteger(), "#,###", '^');
  e["labImportoScad"] = util::FormatValue(c.GetField(k, "ImportoScad"), maschera);
  e["labImportoFatt"] = util::FormatValue(c.GetField(k, "ImportoFatt"), maschera);
  s.entrata = util::Trim(testo("EntrataUscita")) == "E";
  c.Close(k);
  return s;
}

}  // namespace compensato
