#pragma once

#include <array>
#include <map>
#include <string>
#include <vector>

#include "components/lookup/Campo.h"
#include "src/data/Contesto.h"
#include "src/ui/Campi.h"

namespace company {
class scAziUtilPrg;
}

namespace compensato {

// The text fields of the selection, by the index every event names them with.
namespace txt {
inline constexpr int kContoDa = 10, kContoA = 20, kScadDa = 30, kScadA = 40, kDocDa = 50, kDocA = 60, kPrefissoDoc = 70,
                     kNumDocDa = 80, kNumDocA = 90, kPagTipo = 100, kMoneta = 110, kCambio = 120, kMassimo = 130,
                     kCausale = 140, kPartita = 150, kDescAgg = 160, kAbbAtt = 170, kAbbPas = 180, kDataReg = 190,
                     kAnno = 200, kDataProt = 210, kPrefProt = 220, kNumProt = 230, kUtiCambio = 240, kPerdCambio = 250,
                     kCdc = 260;
}  // namespace txt

// One text field of the selection: what the screen shows and the batch types.
class CampoSelezione final : public lookup::Campo, public ui::Campo {
 public:
  std::string Nome() const override { return "Txt"; }
  std::string Testo() const override { return testo_; }
  void ImpostaTesto(const std::string& t) override { testo_ = t; }
  int64_t Sfondo() const override { return sfondo_; }
  void ImpostaSfondo(int64_t c) override { sfondo_ = c; }
  void DaiFuoco() override {}
  bool abilitato = true;

 private:
  std::string testo_;
  int64_t sfondo_ = ui::kColoreSistemaFinestra;
};

// The rules of the selection screen without the screen: its fields, their
// red marks and description labels, the option buttons, the defaults, what
// leaving a field checks and fills in, and the confirmation. The Qt screen
// shows it and the batch front types into it, so both refuse the same
// selections with the same messages.
class ModelloSelezioni {
 public:
  // The indexes in the order the confirmation checks them.
  static const std::vector<int>& OrdineControllo();

  ModelloSelezioni(Contesto& ctx, company::scAziUtilPrg& aiuti);

  CampoSelezione& Txt(int indice);
  const CampoSelezione& Txt(int indice) const;
  lookup::EtichettaTesto& lab(int indice);
  bool Rosso(int indice) const;

  // Option buttons and the check box. -1: neither run kind selected.
  int tipoElab = 1;  // 0 automatic, 1 interactive
  bool optCliente = true, optFornitore = false;
  int ordinamento = 2;  // OptOrdinamento 0, 1, 2
  bool ancheEffetti = false, ancheEffettiAbilitato = true;

  // Kept from the selected currency and transaction code.
  std::string operatoreMoneta = "/", cee = "N";
  int numDec = 2, numDecGest = 2;
  std::string maschera = "#,###.^^";
  std::string obbProtocollo;
  std::string partVis;  // personal setting "PartVis" of "DATAOP"

  // Every default of a fresh screen.
  void Inizializza_Form();
  void MostraMoneta();
  void MostraCambioMoneta(bool dataLavoro);

  // The focus enters a field: remembers the texts the checks compare with,
  // account fields show their stored form.
  void Entra(int indice);
  // The field is left: its check, its red mark and the fields it fills.
  void Esci(int indice);
  // An option button chosen: the payment type and the transaction code
  // depend on customer or supplier, so both are checked again.
  void ScegliCliente();
  void ScegliFornitore();

  // The lookup for a key released in a field: F2 or F3 without Shift, Ctrl
  // or Alt (shift 0). True when a lookup was asked for.
  bool TastoSu(int indice, int tasto, int shift);

  // The fields read from Causali for the current kind of counterpart.
  std::vector<std::string> DecsCausale() const;

  // The confirmation: every field checked again in order, then the options,
  // the ranges and the protocol; the first failure shows its message and
  // gives false. On true `selezione` holds the run selection.
  bool Conferma(SelezioneRun& selezione);
  // The run selection the fields give as they stand.
  SelezioneRun Selezione() const;

 private:
  void Rosso(int indice, bool rosso);
  bool Vuoto(int indice) const;
  bool MonetaAzienda() const;
  std::vector<util::Value> CausaleDefault();
  void DecodificaCausale(bool filtro, std::vector<util::Value>* valori = nullptr);
  void PartitaDaCausale(const std::vector<util::Value>& valori);
  void DecodificaContoGenerale(int indice);
  void EsciConto(int indice);
  void EsciData(int indice);
  void EsciPagTipo();
  void EsciMoneta();
  void EsciCausale();
  void EsciAnno();
  void AnnoDaData();

  Contesto& ctx_;
  company::scAziUtilPrg& aiuti_;
  std::map<int, CampoSelezione> txt_;
  std::map<int, lookup::EtichettaTesto> lab_;
  std::map<int, std::string> entrata_;  // texts of 10, 100, 110, 140 on entering
  bool effettiDelTipo_ = false;         // the payment type that locks "Anche effetti" issues bills
  ui::ColoriCampi colori_;
};

}  // namespace compensato
