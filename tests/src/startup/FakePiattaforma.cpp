#include "tests/src/startup/FakePiattaforma.h"

#include <algorithm>

#include "src/startup/ComandiMenu.h"
#include "src/startup/Schermi.h"

namespace testsupport {

FakeSchermo::~FakeSchermo() {
  if (pf_.attivo == this) pf_.attivo = nullptr;
}

void FakeSchermo::Load() {
  pf_.eventi.push_back("load " + nome_);
  oiLoadOk = -1;
  const auto it = pf_.comportamenti.find(nome_);
  if (it != pf_.comportamenti.end() && it->second.caricamentoErrore)
    throw util::RuntimeError(3022, "chiave duplicata", nome_);
  if (pf_.allaCarica) pf_.allaCarica(*this);
  if (it != pf_.comportamenti.end() && it->second.caricamentoFallito) return;
  oiLoadOk = 1;
}

bool FakeSchermo::Unload() {
  const auto it = pf_.comportamenti.find(nome_);
  if (it != pf_.comportamenti.end() && it->second.rifiutaScarico) {
    pf_.eventi.push_back("refuse " + nome_);
    return false;
  }
  pf_.eventi.push_back("unload " + nome_);
  // As every screen of the program does when it goes.
  if (didascalia_ != startup::kDidascaliaPrincipale && !Aiuto() && pf_.programma)
    startup::LasciaForm(*pf_.programma, *this, true);
  return true;
}

void FakeSchermo::MostraNonModale() {
  if (pf_.modaleAperta) throw util::RuntimeError(startup::kErrFormModale, "Impossibile mostrare una form non modale");
  visibile = true;
  if (didascalia_ == startup::kDidascaliaPrincipale) testoEtichetta = "Chiusura in corso";
}

void FakeSchermo::DaiFuoco() {
  pf_.attivo = this;
  pf_.eventi.push_back("focus " + nome_);
}

int FakeSchermo::ShowForm(int tipo) {
  const auto it = pf_.comportamenti.find(nome_);
  const int esito = it == pf_.comportamenti.end() ? 0 : it->second.esitoShow;
  pf_.eventi.push_back("show " + nome_ + " " + std::to_string(tipo));
  if (esito < 0) return esito;
  tipoMostrato = tipo;
  visibile = true;
  pf_.attivo = this;
  return esito;
}

void FakeTimer::Abilita(bool on) {
  if (on && !abilitato) scadenza = pf_.adesso + intervallo;
  abilitato = on;
}

void FakeTimer::Intervallo(int ms) {
  intervallo = ms;
  if (abilitato) scadenza = pf_.adesso + ms;
}

std::unique_ptr<startup::Schermo> FakePiattaforma::CreaFormPrincipale() {
  return std::make_unique<FakeSchermo>(*this, "frmPrincipale", startup::kDidascaliaPrincipale);
}

std::unique_ptr<startup::Schermo> FakePiattaforma::CreaSchermo(const std::string& nome, startup::Programma& p) {
  programma = &p;
  if (nome == startup::kFormSelezione) return std::make_unique<FakeSchermo>(*this, nome, "Compensazione scadenze");
  if (nome == startup::kFormRipristino) return std::make_unique<FakeSchermo>(*this, nome, "Ripristino compensazione");
  return nullptr;
}

namespace {
class TimerPosseduto : public FakeTimer {
 public:
  using FakeTimer::FakeTimer;
  ~TimerPosseduto() override { pf_.Dimentica(this); }
};
}  // namespace

std::unique_ptr<startup::Timer> FakePiattaforma::CreaTimer(std::function<void()> scatto) {
  auto t = std::make_unique<TimerPosseduto>(*this, std::move(scatto));
  timers.push_back(t.get());
  return t;
}

void FakePiattaforma::Dimentica(FakeTimer* t) { std::erase(timers, t); }

void FakePiattaforma::Avanza(int64_t ms) {
  const int64_t fine = adesso + ms;
  for (;;) {
    FakeTimer* prossimo = nullptr;
    for (FakeTimer* t : timers)
      if (t->abilitato && t->scadenza <= fine && (!prossimo || t->scadenza < prossimo->scadenza)) prossimo = t;
    if (!prossimo) break;
    adesso = std::max(adesso, prossimo->scadenza);
    // A real timer fires again after its interval unless its handler stops it.
    prossimo->scadenza = adesso + std::max(prossimo->intervallo, 1);
    prossimo->scatto();
  }
  adesso = fine;
}

bool FakePiattaforma::Accaduto(const std::string& evento) const {
  return std::find(eventi.begin(), eventi.end(), evento) != eventi.end();
}

void FakeFinestraAiuto::HideFrm() {
  visibile = false;
  pf_.eventi.push_back("aiuto nascosto");
}

void FakeFinestraAiuto::PortaDavanti() { pf_.eventi.push_back("aiuto davanti"); }

void FakeFinestraAiuto::ButtonComando(const std::string& comando) { pf_.eventi.push_back("aiuto " + comando); }

}  // namespace testsupport
