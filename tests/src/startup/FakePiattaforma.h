#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "components/util/Error.h"
#include "src/startup/Piattaforma.h"
#include "src/startup/Programma.h"

namespace testsupport {

class FakePiattaforma;

// A screen of a test: its load, unload and display outcomes are set by the test.
class FakeSchermo : public startup::Schermo {
 public:
  FakeSchermo(FakePiattaforma& pf, std::string nome, std::string didascalia)
      : pf_(pf), nome_(std::move(nome)), didascalia_(std::move(didascalia)) {}
  ~FakeSchermo() override;

  std::string Nome() const override { return nome_; }
  std::string Didascalia() const override { return didascalia_; }
  void Load() override;
  bool Unload() override;
  bool Visibile() const override { return visibile; }
  void Nascondi() override { visibile = false; }
  void MostraNonModale() override;
  void DaiFuoco() override;
  int ShowForm(int tipo) override;
  void AttivatoDaAltri() override { ++attivazioni; }
  void PassaA() override { ++passaA; }

  bool visibile = false;
  int attivazioni = 0;
  int passaA = 0;
  int tipoMostrato = -999;
  std::string testoEtichetta;  // main form: "Chiusura in corso" when shown

 private:
  FakePiattaforma& pf_;
  std::string nome_, didascalia_;
};

// The lookup window of a test: the test says whether it shows; what the
// program asked of it is recorded in the platform's events.
class FakeFinestraAiuto : public lookup::FinestraAiuto {
 public:
  explicit FakeFinestraAiuto(FakePiattaforma& pf) : pf_(pf) {}
  bool Visibile() const override { return visibile; }
  void HideFrm() override;
  void PortaDavanti() override;
  void ButtonComando(const std::string& comando) override;
  bool visibile = false;

 private:
  FakePiattaforma& pf_;
};

class FakeTimer : public startup::Timer {
 public:
  FakeTimer(FakePiattaforma& pf, std::function<void()> f) : pf_(pf), scatto(std::move(f)) {}
  void Abilita(bool on) override;
  bool Abilitato() const override { return abilitato; }
  void Intervallo(int ms) override;
  int Intervallo() const override { return intervallo; }

  FakePiattaforma& pf_;
  std::function<void()> scatto;
  bool abilitato = false;
  int intervallo = 0;
  int64_t scadenza = 0;
};

// The windowing system of a test: screens are plain objects, timers run on a
// clock the test moves with Avanza.
class FakePiattaforma : public startup::Piattaforma {
 public:
  struct Comportamento {
    bool caricamentoFallito = false;  // the screen leaves oiLoadOk at -1
    bool caricamentoErrore = false;   // the load raises (error 3022)
    bool rifiutaScarico = false;      // the screen cancels its unload
    int esitoShow = 0;                // ShowForm result
  };
  std::map<std::string, Comportamento> comportamenti;  // by screen name
  bool modaleAperta = false;                           // a modal window is open: modeless shows fail with 401
  std::function<void(startup::Schermo&)> allaCarica;   // what a screen's load does besides

  // What happened.
  std::vector<std::string> eventi;  // "load X", "unload X", "show X <tipo>", "splash <caption>", ...
  bool terminato = false;
  int codiceUscita = -1;  // as given to Termina
  std::string splash;     // the caption on screen, empty when closed
  std::string segnale;
  FakeSchermo* attivo = nullptr;
  int64_t adesso = 0;
  std::vector<FakeTimer*> timers;
  startup::Programma* programma = nullptr;

  std::unique_ptr<startup::Schermo> CreaFormPrincipale() override;
  std::unique_ptr<startup::Schermo> CreaSchermo(const std::string& nome, startup::Programma& p) override;
  std::unique_ptr<startup::Timer> CreaTimer(std::function<void()> scatto) override;
  startup::Schermo* Attivo() override { return attivo; }
  void DoEvents() override {}
  void MostraSplash(const std::string& didascalia, const std::string&) override {
    splash = didascalia;
    eventi.push_back("splash " + didascalia);
  }
  void ChiudiSplash() override { splash.clear(); }
  void Termina(int codice) override {
    terminato = true;
    codiceUscita = codice;
  }
  void ImpostaSegnale(const std::string& b) override { segnale = b; }
  std::unique_ptr<lookup::FinestraAiuto> CreaFinestraAiuto() override {
    auto f = std::make_unique<FakeFinestraAiuto>(*this);
    finestraAiuto = f.get();
    return f;
  }
  void NascondiModali() override { eventi.push_back("nascondi modali"); }
  FakeFinestraAiuto* finestraAiuto = nullptr;

  // Moves the clock by ms, firing every timer that falls due, in order.
  void Avanza(int64_t ms);
  // The current event ends: the timers armed with 1 ms fire.
  void FineEvento() { Avanza(1); }
  bool Accaduto(const std::string& evento) const;
  void Dimentica(FakeTimer* t);
};

}  // namespace testsupport
