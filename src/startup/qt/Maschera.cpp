#include "src/startup/qt/Maschera.h"

#include <QApplication>
#include <QHideEvent>
#include <QLabel>
#include <QPointer>

#include "components/util/AccountCode.h"
#include "components/util/Text.h"
#include "components/util/Value.h"
#include "src/company/Configurazione.h"
#include "src/startup/ComandiMenu.h"
#include "src/startup/Programma.h"
#include "src/startup/qt/QtPiattaforma.h"
#include "src/ui/qt/AdattaQt.h"
#include "src/ui/qt/CampiQt.h"

namespace startup {
namespace {

QtPiattaforma* PiattaformaQt(Programma& p) { return dynamic_cast<QtPiattaforma*>(&p.pf); }

// Errors of a step that touches controls are skipped: a control without the
// property simply keeps what it has.
template <class F>
void IgnoraErrori(F&& f) {
  try {
    f();
  } catch (...) {
  }
}

}  // namespace

Maschera::Maschera(Programma& p, std::string nome, const std::string& didascalia, int32_t contestoAiuto, int larghezza,
                   int altezza)
    : FormQt(std::move(nome), didascalia), p_(p) {
  setProperty("HelpContextID", contestoAiuto);
  const double tx = ui::TwipsPerPixelX(this), ty = ui::TwipsPerPixelY(this);
  resize(static_cast<int>(larghezza / tx + 0.5), static_cast<int>(altezza / ty + 0.5));
  allaChiusura = [this](FormQt&) { p_.Scarica(this); };
}

Maschera::~Maschera() {
  if (modale_) modale_->quit();
  // Its controls still lose the focus while QWidget takes them down, when
  // this screen's own part is already gone.
  delete tastiera_;
  tastiera_ = nullptr;
}

ui::AiutoQt& Maschera::Guida() {
  if (QtPiattaforma* pf = PiattaformaQt(p_)) return pf->Aiuto();
  if (!aiutoProprio_) aiutoProprio_ = std::make_unique<ui::AiutoQt>();
  return *aiutoProprio_;
}

void Maschera::Load() {
  oiLoadOk = -1;
  InizioCaricaForm(p_, *this, false, false, true, esclusiColore);
  try {
    CaricaSchermo();
  } catch (...) {
    // The failure is reported by whoever loads the screen; the loading
    // splash must not stay on screen over the message.
    IgnoraErrori([this] { p_.pf.ChiudiSplash(); });
    throw;
  }
  FineCaricaForm(p_, *this, false, true, esclusioni);
  if (oiLoadOk == -1) oiLoadOk = 1;
}

bool Maschera::ScaricaSchermo() {
  LasciaForm(p_, *this, true);
  return true;
}

ui::ColoriCampi Maschera::Colori() const {
  const company::DatiAzienda& a = p_.ctx.azienda;
  return {a.coloreFuoco, a.coloreNoFuoco, a.coloreErrore, a.coloreNormale};
}

void Maschera::PrendeFuoco(QWidget* campo, bool forza) {
  std::vector<QWidget*> caselle = ui::CaselleDi(this);
  std::vector<ui::CampoQt> campi(caselle.begin(), caselle.end());
  std::vector<ui::Campo*> tutti;
  for (ui::CampoQt& c : campi) tutti.push_back(&c);
  ui::CampoQt questo(campo);
  ui::PrendeFuoco(questo, tutti, Colori(), forza);
}

void Maschera::PerdeFuoco(QWidget* campo, bool forza) {
  ui::CampoQt questo(campo);
  ui::PerdeFuoco(questo, Colori(), forza);
}

void Maschera::FuocoConto(QLineEdit* campo) {
  campo->setText(QString::fromStdString(util::NormaliseCode(campo->text().toStdString(), "conto")));
  campo->setFocus();
  ui::SelezionaTesto(campo);
}

int Maschera::ControllaData(QLineEdit* campo, const ui::VerificaData& v, std::string* messaggio) {
  ui::CampoQt c(campo);
  return ui::ControllaData(c, v, p_.ctx.azienda.dataLavoro, p_.ctx.dataMinima, Colori(), p_.ctx.op, messaggio);
}

void Maschera::Posiziona(QWidget* w, int left, int top, int width, int height) {
  ui::PosizionaTwips(w, left, top, width, height);
}

bool Maschera::EseguiModale() {
  setWindowModality(Qt::ApplicationModal);
  show();
  raise();
  activateWindow();
  QEventLoop ciclo;
  modale_ = &ciclo;
  // The screen may be unloaded while it shows: nothing of it is touched then.
  const QPointer<Maschera> vivo(this);
  ciclo.exec();
  if (!vivo) return false;
  modale_ = nullptr;
  if (isVisible()) hide();
  setWindowModality(Qt::NonModal);
  return true;
}

void Maschera::hideEvent(QHideEvent* e) {
  FormQt::hideEvent(e);
  if (modale_) modale_->quit();
}

std::string DidascaliaForm(const Programma& p, const std::string& didascalia,
                           const std::optional<std::string>& descrizione) {
  return didascalia + " - " + descrizione.value_or(p.ctx.azienda.descrizione);
}

bool SolaLettura(const std::string& osParam) {
  const std::string s = util::ToUpper(osParam);
  for (size_t p = s.find("/RO"); p != std::string::npos; p = s.find("/RO", p + 1)) {
    const bool inizio = p == 0 || s[p - 1] == ' ';
    const bool fine = p + 3 == s.size() || s[p + 3] == ' ' || s[p + 3] == ':' || s[p + 3] == '=';
    if (inizio && fine) return true;
  }
  return false;
}

std::string ChiaveRisoluzione(const Programma& p, const Maschera& f) {
  return f.osRisVidKey.empty() ? p.chiaveProgramma + "-" + f.osKeySec : f.osRisVidKey;
}

double AdattaForm(Programma& p, QWidget& finestra, const std::string& chiave, bool noScala, double fattore,
                  const std::vector<ui::Esclusione>& esclusioni) {
  const ui::FattoriVideo config{p.risoluzione.generale, p.risoluzione.persBase};
  auto leggi = [&p](const std::string& k) -> std::optional<double> {
    std::string valore;
    company::LeggiChiaveIni(p.config, "Risoluzione Video", k, "-2", valore);
    double v = 0;
    if (!util::ParseItalianNumber(util::Trim(valore), v)) return std::nullopt;
    return v;
  };
  const double f =
      ui::RisolviFattore(fattore, config, chiave, leggi, ui::GeometriaTwips(&finestra), ui::VideoDi(&finestra));
  if (!noScala) ui::ScalaControlliQt(&finestra, f, esclusioni);
  return f;
}

void InizioCaricaForm(Programma& p, Maschera& f, bool noControlloRO, bool noSplash, bool fattore,
                      const std::string& esclusiColore) {
  // The company's form colour, on the form and on every control that keeps
  // the system's button colour (unless excluded).
  if (const int64_t colore = p.ctx.azienda.coloreForm; colore != 0) {
    ui::ImpostaSfondo(&f, colore);
    for (QWidget* w : f.findChildren<QWidget*>()) {
      IgnoraErrori([&] {
        const std::string nome = ui::NomeEIndice(w->objectName().toStdString()).first;
        if (ui::Sfondo(w) == ui::kColoreSistemaPulsante && esclusiColore.find(nome + ",") == std::string::npos)
          ui::ImpostaSfondo(w, colore);
      });
    }
  }
  // The loading splash.
  if (!noSplash) IgnoraErrori([&] { p.pf.MostraSplash("Caricamento maschera", f.Didascalia()); });
  // A label's "&" is text here, not a shortcut to the control after it.
  for (QLabel* l : f.findChildren<QLabel*>()) l->setBuddy(nullptr);
  // The caption with the company, and the screen's one keyboard.
  f.ImpostaDidascalia(DidascaliaForm(p, f.Didascalia()));
  if (!f.tastiera_) {
    ui::ImpostazioniTastiera imp;
    imp.host = &p.ctx.host;
    imp.op = &p.ctx.op;
    QtPiattaforma* pf = PiattaformaQt(p);
    imp.stato = pf ? &pf->Tastiera() : &f.statoProprio_;
    imp.tastierinoVirgola = [&p] { return p.ctx.azienda.tastierinoVirgola; };
    imp.colori = [&f] { return f.Colori(); };
    imp.aiuto = [&p, &f](int& tasto, int shift) {
      return ui::AiutoTasto(tasto, shift, p.ctx.fileAiuto, -1, ui::ContestoAttivoQt(&f), f.Guida());
    };
    f.tastiera_ = new ui::TastieraQt(&f, std::move(imp));
    f.tastiera_->tastoGiu = [&f](int& tasto, int shift) { return f.TastoGiu(tasto, shift); };
    f.tastiera_->entrato = [&f](QWidget* w) { f.CampoEntrato(w); };
    f.tastiera_->uscito = [&f](QWidget* w) { f.CampoLasciato(w); };
  }
  // Read-only when launched with "/RO".
  if (!noControlloRO) f.oiAbilRW = SolaLettura(f.osParam) ? 1 : 0;
  // The scaling factor, resolved now and applied once the screen is built.
  if (fattore) IgnoraErrori([&] { f.odRisVidVal = AdattaForm(p, f, ChiaveRisoluzione(p, f), true, -2, {}); });
}

void FineCaricaForm(Programma& p, Maschera& f, bool tieniSplash, bool scala,
                    const std::vector<ui::Esclusione>& esclusioni) {
  // The window state the company asks for.
  double stato = 0;
  if (util::ParseItalianNumber(util::Trim(p.ctx.azienda.statoFinestra), stato)) {
    const int s = static_cast<int>(stato);
    f.setWindowState(s == 2 ? Qt::WindowMaximized : s == 1 ? Qt::WindowMinimized : Qt::WindowNoState);
  }
  // The loading splash goes.
  if (!tieniSplash) IgnoraErrori([&] { p.pf.ChiudiSplash(); });
  // The screen scaled to its factor.
  if (scala) IgnoraErrori([&] { f.odRisVidVal = AdattaForm(p, f, ChiaveRisoluzione(p, f), false, -2, esclusioni); });
}

void NascondiModali(Programma& p) {
  for (auto it = p.forms.rbegin(); it != p.forms.rend(); ++it) {
    IgnoraErrori([&] {
      auto* m = dynamic_cast<Maschera*>(it->get());
      if (m && m->isVisible() && m->oiNohelp > 0) {
        m->oiNohelp = 2;
        m->hide();
      }
    });
  }
}

void MostraModale(Maschera& s) {
  for (;;) {
    s.oiNohelp = 1;
    if (!s.EseguiModale()) return;
    if (s.oiNohelp >= 2) continue;
    s.oiNohelp = 0;
    break;
  }
}

void PremiTasto(Programma& p, Maschera& s, int indice, int tasto, bool appo) {
  const std::string array = appo ? "txtAppo" : "Txt";
  if (auto* w = s.findChild<QWidget*>(QString::fromStdString(array + "_" + std::to_string(indice))))
    w->setFocus(Qt::OtherFocusReason);
  p.pf.DoEvents();
  s.TastoSu(array, indice, tasto, 0);
}

}  // namespace startup
