#include "src/company/AziUtilPrg.h"

#include "src/data/Contesto.h"

namespace company {

scAziUtilPrg::scAziUtilPrg(compensato::Contesto& ctx) : ctx_(ctx), ogAziAiuti_(std::make_unique<lookup::Lookdex>()) {
  ogAziAiuti_->ogEventi().Collega(this);
}

scAziUtilPrg::~scAziUtilPrg() {
  ogAziAiuti_->ogEventi().Scollega(this);
  if (ctx_.lookup == ogAziAiuti_.get()) ctx_.lookup = nullptr;
}

void scAziUtilPrg::ClsMainMenuFrm() {
  if (mostraMenu) mostraMenu();
}

void scAziUtilPrg::ClsPrepDecod(const std::string&, const std::string&, const std::string&, int& tasto, int,
                                const std::string&, bool& esito) {
  if (tasto == 0) tasto = lookup::kTastoF2;
  esito = true;
}

void scAziUtilPrg::LanciaKeyPrim(const std::string& chiave) {
  if (chiaveLancioPrim) chiaveLancioPrim(chiave);
}

void scAziUtilPrg::LanciaKeySec(const std::string& chiave) {
  if (chiaveLancioSec) chiaveLancioSec(chiave);
}

}  // namespace company
