#include "src/worklist/qt/FrmSaldaVis.h"

#include <QGroupBox>
#include <iterator>
#include <vector>

#include "src/startup/Programma.h"

namespace worklist {
namespace {

constexpr int kRiga = 400, kAlto = 300, kSinistra = 240, kValori = 2400, kSecondaColonna = 4700, kValori2 = 6600;

}  // namespace

frmSaldaVis::frmSaldaVis(startup::Programma& p)
    : Maschera(p, "frmSaldaVis", "Visualizzazione Scadenza", 50000, 8700, 5700) {
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

  // The card's rows: a caption and its values, then, on some rows, a second
  // caption and its values from the middle of the card.
  struct Valore {
    Valore(const char* n, int l, int w, bool i = false) : nome(n), left(l), width(w), importo(i) {}
    const char* nome;
    int left, width;
    bool importo;  // right-aligned
  };
  struct Riga {
    const char* didascalia;
    std::vector<Valore> valori;
    const char* seconda;
    std::vector<Valore> valori2;
  };
  // clang-format off
  const Riga righe[] = {
      {nullptr, {{"labCodice", kValori, 1500}, {"labDesCodice", kValori + 1560, 4380}}, nullptr, {}},
      {"Data Scadenza:", {{"labDataScadenza", kValori, 1500}}, nullptr, {}},
      {"Pagamento:", {{"labPagamento", kValori, 900}, {"labDesPagamento", kValori + 960, 4980}}, nullptr, {}},
      {"Banca di appoggio:", {{"labBanca", kValori, 900}, {"labDesBanca", kValori + 960, 4980}}, nullptr, {}},
      {"Nr.Registrazione:", {{"labNumReg", kValori, 1500}}, "Anno Registrazione:", {{"labAnnoReg", kValori2, 900}}},
      {"Pref./Nr.Documento:", {{"labPrefNumDoc", kValori, 500}, {"labNumDoc", kValori + 560, 1640}}, "Data Documento:",
       {{"labDataDoc", kValori2, 1500}}},
      {"Pref./Nr.Protocollo:", {{"labPrefNumProt", kValori, 500}, {"labNumProt", kValori + 560, 1640}},
       "Data Protocollo:", {{"labDataProt", kValori2, 1500}}},
      {"Rata:", {{"labRata", kValori, 600}}, nullptr, {}},
      {"Causale Contabile:", {{"labCauContabile", kValori, 900}, {"LabDesCauContabile", kValori + 960, 4980}}, nullptr,
       {}},
      {"Moneta:", {{"labMoneta", kValori, 900}, {"labDesMoneta", kValori + 960, 1240}}, "Cambio:",
       {{"labCambio", kValori2, 1500, true}}},
      {"Importo Scadenza:", {{"labImportoScad", kValori, 2200, true}}, "Importo Fattura:",
       {{"labImportoFatt", kValori2, 1740, true}}},
  };
  // clang-format on
  for (int r = 0; r < static_cast<int>(std::size(righe)); ++r) {
    const Riga& riga = righe[r];
    if (riga.didascalia) didascalia(riga.didascalia, kSinistra, r, 2100);
    if (riga.seconda) didascalia(riga.seconda, kSecondaColonna, r, 1850);
    for (const auto* valori : {&riga.valori, &riga.valori2})
      for (const Valore& v : *valori) valore(v.nome, v.left, r, v.width, v.importo);
  }

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
