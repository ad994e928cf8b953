#include "src/worklist/qt/FrmSaldaVis.h"

#include <QGroupBox>

#include "src/startup/Programma.h"

namespace worklist {
namespace {

constexpr int kRiga = 400, kAlto = 300, kSinistra = 240, kValori = 2400, kSecondaColonna = 4700, kValori2 = 6600;

}  // namespace

frmSaldaVis::frmSaldaVis(startup::Programma& p) : Maschera(p, "frmSaldaVis", "Visualizzazione Scadenza", 50000, 8700, 5700) {
  auto* frame = new QGroupBox(this);
  frame->setObjectName("Frame1");
  Posiziona(frame, 120, 60, 8460, 4920);

  // Every control has a name: the screen's scaling moves and sizes only
  // named controls.
  int numero = 0;
  auto didascalia = [&](const char* testo, int left, int riga, int width) {
    auto* l = new QLabel(QString::fromUtf8(testo), frame);
    l->setObjectName(QString("Label1_%1").arg(numero++));
    Posiziona(l, left, 240 + riga * kRiga, width, kAlto);
    return l;
  };
  auto valore = [&](const char* nome, int left, int riga, int width, bool importo = false) {
    auto* l = new QLabel(frame);
    l->setObjectName(nome);
    l->setFrameShape(QFrame::Panel);
    l->setFrameShadow(QFrame::Sunken);
    l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    if (importo) l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Posiziona(l, left, 240 + riga * kRiga, width, kAlto);
    valori_[nome] = l;
  };

  labTipo_ = didascalia("", kSinistra, 0, 2100);
  labTipo_->setObjectName("labTipo");
  valore("labCodice", kValori, 0, 1500);
  valore("labDesCodice", kValori + 1560, 0, 4380);
  didascalia("Data Scadenza:", kSinistra, 1, 2100);
  valore("labDataScadenza", kValori, 1, 1500);
  didascalia("Pagamento:", kSinistra, 2, 2100);
  valore("labPagamento", kValori, 2, 900);
  valore("labDesPagamento", kValori + 960, 2, 4980);
  didascalia("Banca di appoggio:", kSinistra, 3, 2100);
  valore("labBanca", kValori, 3, 900);
  valore("labDesBanca", kValori + 960, 3, 4980);
  didascalia("Nr.Registrazione:", kSinistra, 4, 2100);
  valore("labNumReg", kValori, 4, 1500);
  didascalia("Anno Registrazione:", kSecondaColonna, 4, 1850);
  valore("labAnnoReg", kValori2, 4, 900);
  didascalia("Pref./Nr.Documento:", kSinistra, 5, 2100);
  valore("labPrefNumDoc", kValori, 5, 500);
  valore("labNumDoc", kValori + 560, 5, 1640);
  didascalia("Data Documento:", kSecondaColonna, 5, 1850);
  valore("labDataDoc", kValori2, 5, 1500);
  didascalia("Pref./Nr.Protocollo:", kSinistra, 6, 2100);
  valore("labPrefNumProt", kValori, 6, 500);
  valore("labNumProt", kValori + 560, 6, 1640);
  didascalia("Data Protocollo:", kSecondaColonna, 6, 1850);
  valore("labDataProt", kValori2, 6, 1500);
  didascalia("Rata:", kSinistra, 7, 2100);
  valore("labRata", kValori, 7, 600);
  entrata_ = new QRadioButton("Entrata", frame);
  entrata_->setObjectName("Entrata");
  Posiziona(entrata_, kSecondaColonna, 240 + 7 * kRiga, 1500, kAlto);
  uscita_ = new QRadioButton("Uscita", frame);
  uscita_->setObjectName("Uscita");
  Posiziona(uscita_, kValori2, 240 + 7 * kRiga, 1500, kAlto);
  // Read-only: the choice shows, the operator cannot move it.
  for (QRadioButton* b : {entrata_, uscita_}) {
    b->setAttribute(Qt::WA_TransparentForMouseEvents);
    b->setFocusPolicy(Qt::NoFocus);
  }
  didascalia("Causale Contabile:", kSinistra, 8, 2100);
  valore("labCauContabile", kValori, 8, 900);
  valore("LabDesCauContabile", kValori + 960, 8, 4980);
  didascalia("Moneta:", kSinistra, 9, 2100);
  valore("labMoneta", kValori, 9, 900);
  valore("labDesMoneta", kValori + 960, 9, 1240);
  didascalia("Cambio:", kSecondaColonna, 9, 1850);
  valore("labCambio", kValori2, 9, 1500, true);
  didascalia("Importo Scadenza:", kSinistra, 10, 2100);
  valore("labImportoScad", kValori, 10, 2200, true);
  didascalia("Importo Fattura:", kSecondaColonna, 10, 1850);
  valore("labImportoFatt", kValori2, 10, 1740, true);

  comEsci_ = new QPushButton("&Esci", this);
  comEsci_->setObjectName("ComEsci");
  Posiziona(comEsci_, 6900, 5100, 1680, 420);
  connect(comEsci_, &QPushButton::clicked, this, [this] { hide(); });
}

QLabel* frmSaldaVis::Etichetta(const std::string& nome) const {
  if (nome == "labTipo") return labTipo_;
  const auto it = valori_.find(nome);
  return it == valori_.end() ? nullptr : it->second;
}

void frmSaldaVis::Riempi(const compensato::SchedaScadenza& s) {
  for (const auto& [nome, testo] : s.etichette)
    if (QLabel* l = Etichetta(nome)) l->setText(QString::fromStdString(testo));
  entrata_->setChecked(s.entrata);
  uscita_->setChecked(!s.entrata);
}

void MostraSchedaScadenza(startup::Programma& p, const util::Value& anno, const util::Value& numProg) {
  const std::optional<compensato::SchedaScadenza> s = compensato::LeggiSchedaScadenza(p.ctx, anno, numProg);
  if (!s) return;
  auto* f = static_cast<frmSaldaVis*>(p.Carica(std::make_unique<frmSaldaVis>(p)));
  f->Riempi(*s);
  if (f->EseguiModale()) p.Scarica(f);
}

}  // namespace worklist
