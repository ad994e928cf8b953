#include "tests/src/selection/AziendaSelezione.h"

#include "components/lookup/Ricerca.h"

namespace testsupport {

void PreparaSelezione(AziendaProva& az) {
  auto Sql = [&az](const std::string& s) { az.ctx().db.Execute(az.ctx().conn, s); };
  auto& h = az.host;
  h.parametri["CoGe.AnnoCorr"] = util::Value("2024");
  h.parametri["CoGe.DataInizCont"] = util::Value("01/01/2024");
  h.parametri["CoGe.DataFineCont"] = util::Value("31/12/2024");
  h.parametri["CauCon.SaldaCauIncassi"] = util::Value("INC");
  h.parametri["CauCon.SaldaCauPagamenti"] = util::Value("PAG");
  for (const char* k : {"Att", "Pass"}) {
    h.parametri[std::string("CauCon.GruppoAbb") + k] = util::Value(k[0] == 'A' ? "70" : "62");
    h.parametri[std::string("CauCon.MastroAbb") + k] = util::Value("05");
    h.parametri[std::string("CauCon.ContoAbb") + k] = util::Value("000001");
  }
  Sql("UPDATE Causali SET TipoCausale = 'G', PartGruppo = '18', PartMastro = '01', PartConto = '000001', "
      "InValuta = 'N', ObbProtocollo = 'N' WHERE Causale = 'INC'");
  Sql("INSERT INTO Causali (Causale, Descrizione, TipoCausale, TipoReg, CoPartGruppo, CoPartMastro, CoPartConto, "
      "InValuta, ObbProtocollo) VALUES ('PAG', 'Pagamento', 'G', '', '18', '02', '000001', 'N', 'N')");
  Sql("INSERT INTO Causali (Causale, Descrizione, TipoCausale, TipoReg, InValuta, ObbProtocollo) VALUES "
      "('VAL', 'Incasso in valuta', 'G', '', 'S', 'N')");
  Sql("INSERT INTO Causali (Causale, Descrizione, TipoCausale, TipoReg, InValuta, ObbProtocollo) VALUES "
      "('PROT', 'Incasso protocollato', 'G', '', 'N', 'S')");
  Sql("INSERT INTO Causali (Causale, Descrizione, TipoCausale, TipoReg, InValuta, ObbProtocollo) VALUES "
      "('IVA', 'Fattura', 'V', '', 'N', 'N')");
  Sql("INSERT INTO PianoConti (Gruppo, Mastro, Conto, Tipo, Descrizione) VALUES ('18', '02', '000001', 1, "
      "'Banca')");
  Sql("INSERT INTO PianoConti (Gruppo, Mastro, Conto, Tipo, Descrizione) VALUES ('80', '01', '000001', 1, "
      "'Utili su cambi')");
  Sql("INSERT INTO PianoConti (Gruppo, Mastro, Conto, Tipo, Descrizione) VALUES ('70', '06', '000001', 1, "
      "'Utili su cambi')");
  Sql("INSERT INTO PianoConti (Gruppo, Mastro, Conto, Tipo, Descrizione) VALUES ('62', '06', '000001', 1, "
      "'Perdite su cambi')");
  Sql("INSERT INTO PagTipi (PagTipo, Descrizione, EmissEffetti, RegIncAut, Causale, Gruppo, Mastro, Conto) "
      "VALUES ('RB', 'Ricevuta bancaria', 'S', 'N', 'VAL', '18', '02', '000001')");
  Sql("INSERT INTO Monete (Moneta, Descrizione, NumDec, NumDecGest, Operatore, Cee) VALUES "
      "('USD', 'Dollaro', 3, 3, '*', 'N')");
  Sql("INSERT INTO Cambi (Moneta, Data, Cambio) VALUES ('USD', '2024-01-01', 1.1)");
  Sql("INSERT INTO Cambi (Moneta, Data, Cambio) VALUES ('USD', '2024-03-10', 1.25)");
  az.ctx().azienda.dataLavoro = util::Date::Carry(2024, 3, 15);
}

std::optional<lookup::Riga> FinestraRegistra::Mostra(lookup::Ricerca& r, const lookup::RichiestaFinestra& q) {
  if (tasti) tasti->push_back(q.tasto);
  if (tipi) tipi->push_back(r.Definizione().tipo.kind);
  return scelta;
}

std::unique_ptr<company::scAziUtilPrg> AiutiProva(compensato::Contesto& ctx,
                                                  std::unique_ptr<lookup::FinestraAiuto> finestra) {
  auto aiuti = std::make_unique<company::scAziUtilPrg>(ctx);
  lookup::Avvio av;
  av.db = &ctx.db;
  av.conn = ctx.conn;
  av.coloreNormale = ctx.azienda.coloreNormale;
  av.coloreErrore = ctx.azienda.coloreErrore;
  aiuti->ogAziAiuto().Inizializza(av);
  aiuti->ogAziAiuto().ImpostaFinestra(std::move(finestra));
  return aiuti;
}

}  // namespace testsupport
