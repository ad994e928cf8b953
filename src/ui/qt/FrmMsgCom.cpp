#include "src/ui/qt/FrmMsgCom.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>

#include "src/ui/qt/TastieraQt.h"

namespace ui {
namespace {

double TwipsPerPixel(const QScreen* s) { return 1440.0 / (s ? s->logicalDotsPerInchX() : 96.0); }

QString Testo(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

MisureMsgCom FrmMsgCom::Misure(QWidget* w, const QFont& font) {
  const QScreen* s = w && w->screen() ? w->screen() : QGuiApplication::primaryScreen();
  const double tpp = TwipsPerPixel(s);
  MisureMsgCom m;
  const QRect g = s ? s->geometry() : QRect(0, 0, 1024, 768);
  const QRect disp = s ? s->availableGeometry() : g;
  m.larghezzaSchermo = static_cast<int>(g.width() * tpp);
  m.altezzaSchermo = static_cast<int>(disp.height() * tpp);
  m.altezzaUtile = static_cast<int>(disp.height() * tpp);
  m.bordoX = static_cast<int>(2 * 4 * tpp);
  m.bordoY = static_cast<int>((2 * 4 + 30) * tpp);
  const QFontMetrics fm(font);
  m.misura = [fm, tpp](const std::string& text, int wrap) {
    const QString t = Testo(text);
    const int flags = wrap > 0 ? Qt::TextWordWrap : 0;
    const QRect r = fm.boundingRect(QRect(0, 0, wrap > 0 ? static_cast<int>(wrap / tpp) : 100000, 100000),
                                    flags | Qt::AlignLeft | Qt::AlignTop, t);
    return std::make_pair(static_cast<int>(r.width() * tpp), static_cast<int>(r.height() * tpp));
  };
  return m;
}

FrmMsgCom::FrmMsgCom(const RichiestaMsg& r, const QString& titoloProgramma, QWidget* parent) : QDialog(parent) {
  setObjectName("frmMsgCom");
  setWindowTitle(r.pvTitolo ? Testo(*r.pvTitolo) : titoloProgramma);
  setModal(true);
  etichetta_ = new QLabel(this);
  etichetta_->setObjectName("LabMessaggio");
  etichetta_->setTextFormat(Qt::PlainText);
  testo_ = new QPlainTextEdit(this);
  testo_->setObjectName("txtMessaggio");
  testo_->setReadOnly(true);
  testo_->hide();
  if (r.pvFontSize) {
    QFont f = etichetta_->font();
    f.setPointSizeF(*r.pvFontSize);
    etichetta_->setFont(f);
    testo_->setFont(f);
  }
  MisureMsgCom m = Misure(parent, etichetta_->font());
  const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
  const double tpp = TwipsPerPixel(s);
  layout_ = CalcolaLayoutMsgCom(r, m);
  auto px = [tpp](int twips) { return static_cast<int>(twips / tpp + 0.5); };

  std::vector<std::string> captions{r.psCom1};
  if (r.pvCom2) {
    captions.push_back(*r.pvCom2);
    if (r.pvCom3) captions.push_back(*r.pvCom3);
  }
  for (size_t i = 0; i < captions.size(); ++i) {
    auto* b = new QPushButton(Testo(captions[i]), this);
    b->setObjectName(QString("ComEsegui_%1").arg(i));
    b->setAutoDefault(true);
    const int numero = static_cast<int>(i) + 1;
    connect(b, &QPushButton::clicked, this, [this, numero] {
      risposta_ = numero;
      accept();
    });
    b->setGeometry(px(layout_.sinistraComandi[i]), px(layout_.topComandi), px(layout_.larghezzaComando),
                   px(m.altezzaComando));
    comandi_.push_back(b);
  }
  annulla_ = layout_.comandoAnnulla;
  if (layout_.comandoDefault) comandi_[static_cast<size_t>(layout_.comandoDefault - 1)]->setDefault(true);
  if (layout_.modoTesto) {
    etichetta_->hide();
    testo_->show();
    testo_->setPlainText(Testo(r.psLabel));
    testo_->setGeometry(px(layout_.sinistraTesto), px(layout_.topTesto), px(layout_.larghezzaTesto),
                        px(layout_.altezzaTesto));
  } else {
    etichetta_->setWordWrap(layout_.aCapo);
    etichetta_->setText(Testo(r.psLabel));
    etichetta_->setGeometry(px(layout_.sinistraEtichetta), px(m.topEtichetta), px(layout_.larghezzaEtichetta),
                            px(layout_.altezzaEtichetta));
  }
  setFixedSize(px(layout_.larghezza - m.bordoX), px(layout_.altezza - m.bordoY));
  if (layout_.comandoFuoco) {
    QPushButton* f = comandi_[static_cast<size_t>(layout_.comandoFuoco - 1)];
    // Enter answers the command with the focus.
    for (auto* b : comandi_) b->setDefault(b == f);
    setFocusProxy(f);
    f->setFocus();
  }
}

void FrmMsgCom::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_F1 && aiuto) {
    int tasto = 0, shift = 0;
    CodiceTasto(e, tasto, shift);
    if (aiuto(tasto, shift, this)) return;
  }
  if (e->key() == Qt::Key_Escape) {
    risposta_ = annulla_;
    if (annulla_)
      accept();
    else
      reject();
    return;
  }
  QDialog::keyPressEvent(e);
}

}  // namespace ui
