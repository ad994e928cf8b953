#include "src/ui/qt/QtOperatore.h"

#include <QApplication>
#include <QDialog>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <memory>

#include "src/ui/Suono.h"
#include "src/ui/qt/FrmMsgCom.h"

namespace ui {
namespace {

// The window the operator was typing in takes the keyboard back once the
// message is answered: without a window manager (or with one that does not
// do it) nothing else gives it back.
void Riattiva(const QPointer<QWidget>& w) {
  if (w && w->isVisible()) w->activateWindow();
}

QString Q(const std::string& s) { return QString::fromStdString(s); }

// The progress window frmInElab: the heading, the message in its box, the
// items done "di" the total, and the bar.
class FrmInElab final : public progress::ProgressController {
 public:
  explicit FrmInElab(std::function<void(QWidget*)> adatta) : adatta_(std::move(adatta)) {}
  void Start(int32_t total, const std::string& heading, int, bool, bool, int, const std::string& message, int,
             bool) override {
    End();
    w_ = new QDialog(QApplication::activeWindow());
    w_->setObjectName("frmInElab");
    w_->setWindowTitle("In Elaborazione");
    auto* lay = new QVBoxLayout(w_);
    titolo_ = new QLabel(Q(heading), w_);
    titolo_->setObjectName("LabTitolo");
    QFont f = titolo_->font();
    f.setBold(true);
    titolo_->setFont(f);
    auto* riquadro = new QFrame(w_);
    riquadro->setObjectName("PicMsgElab");
    riquadro->setFrameShape(QFrame::StyledPanel);
    auto* lr = new QVBoxLayout(riquadro);
    msg_ = new QLabel(Q(message.empty() ? "in Elaborazione" : message), riquadro);
    msg_->setObjectName("LabMsgElab");
    lr->addWidget(msg_);
    auto* conta = new QHBoxLayout;
    fatti_ = new QLabel("0", w_);
    fatti_->setObjectName("LabFatti");
    auto* di = new QLabel("di", w_);
    di->setObjectName("LabDi");
    daFare_ = new QLabel(QString::number(total), w_);
    daFare_->setObjectName("labDaFare");
    conta->addStretch();
    for (QLabel* l : {fatti_, di, daFare_}) conta->addWidget(l);
    conta->addStretch();
    bar_ = new QProgressBar(w_);
    bar_->setObjectName("proDaFare");
    bar_->setRange(0, std::max(total, 1));
    bar_->setTextVisible(false);
    total_ = total;
    lay->addWidget(titolo_);
    lay->addWidget(riquadro);
    lay->addLayout(conta);
    lay->addWidget(bar_);
    w_->setMinimumWidth(360);
    Step(0);
    w_->adjustSize();
    if (adatta_) adatta_(w_);
    w_->show();
    QApplication::processEvents();
  }
  void Step(int32_t counter) override {
    if (!w_) return;
    fatti_->setText(QString::number(counter));
    bar_->setValue(std::clamp(counter, 0, std::max(total_, 1)));
    QApplication::processEvents();
  }
  void SetText(const std::string& message) override {
    if (msg_) msg_->setText(Q(message));
  }
  void End() override {
    delete w_;
    w_ = nullptr;
    titolo_ = msg_ = fatti_ = daFare_ = nullptr;
    bar_ = nullptr;
  }
  ~FrmInElab() override { End(); }

 private:
  std::function<void(QWidget*)> adatta_;
  QDialog* w_ = nullptr;
  QLabel *titolo_ = nullptr, *msg_ = nullptr, *fatti_ = nullptr, *daFare_ = nullptr;
  QProgressBar* bar_ = nullptr;
  int32_t total_ = 0;
};

bool HaAudio() { return QFileInfo::exists("/dev/snd") && !QStandardPaths::findExecutable("aplay").isEmpty(); }

}  // namespace

QtOperatore::QtOperatore(std::string titolo) : titolo_(std::move(titolo)) {}

int QtOperatore::msgCom(const RichiestaMsg& r) {
  if (aperta_) return 0;
  aperta_ = true;
  const QPointer<QWidget> prima = QApplication::activeWindow();
  int risposta = 0;
  {
    FrmMsgCom w(r, Q(titolo_), prima);
    w.aiuto = aiuto;
    if (r.pbSuona) Suona();
    const bool cursore = QApplication::overrideCursor() != nullptr;
    if (cursore) QApplication::setOverrideCursor(Qt::ArrowCursor);
    if (allApertura) QTimer::singleShot(0, &w, [this, &w] { allApertura(&w); });
    w.exec();
    if (cursore) QApplication::restoreOverrideCursor();
    risposta = w.risposta();
  }
  aperta_ = false;
  // Once the message window is gone: going, it leaves no window active.
  Riattiva(prima);
  return risposta;
}

int QtOperatore::MessageBox(const std::string& text, int style, const std::string& title) {
  const QPointer<QWidget> prima = QApplication::activeWindow();
  auto box = std::make_unique<QMessageBox>(prima);
  QMessageBox& b = *box;
  b.setObjectName("MsgBox");
  b.setWindowTitle(Q(title.empty() ? titolo_ : title));
  b.setText(Q(text));
  const int icona = style & 0x70;
  if (icona == box::kCritical) b.setIcon(QMessageBox::Critical);
  if (icona == box::kQuestion) b.setIcon(QMessageBox::Question);
  if (icona == box::kExclamation) b.setIcon(QMessageBox::Warning);
  if (icona == box::kInformation) b.setIcon(QMessageBox::Information);
  switch (style & 0x0F) {
    case box::kOkCancel: b.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case box::kYesNoCancel: b.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel); break;
    case box::kYesNo: b.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    default: b.setStandardButtons(QMessageBox::Ok); break;
  }
  if (allApertura) QTimer::singleShot(0, &b, [this, &b] { allApertura(&b); });
  const int r = b.exec();
  box.reset();
  Riattiva(prima);
  switch (r) {
    case QMessageBox::Ok: return box::kOk;
    case QMessageBox::Yes: return box::kYes;
    case QMessageBox::No: return box::kNo;
    default: return box::kCancel;
  }
}

std::optional<std::string> QtOperatore::InputBox(const std::string& prompt, const std::string& title,
                                                 const std::string& def) {
  bool ok = false;
  const QString s =
      QInputDialog::getText(QApplication::activeWindow(), Q(title), Q(prompt), QLineEdit::Normal, Q(def), &ok);
  if (!ok) return std::nullopt;
  return s.toStdString();
}

void QtOperatore::Clessidra(bool on) {
  if (on) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ++clessidra_;
  } else if (clessidra_ > 0) {
    QApplication::restoreOverrideCursor();
    --clessidra_;
  }
}

std::unique_ptr<progress::ProgressController> QtOperatore::NuovoProgress() {
  return std::make_unique<FrmInElab>(adatta);
}

void QtOperatore::Suona() {
  const Segnale s = InterpretaBeepCome(beepCome_);
  switch (s.tipo) {
    case Segnale::Tipo::Beep: QApplication::beep(); break;
    case Segnale::Tipo::Tono: RiproduciSuono(CreaTono(static_cast<float>(s.frequenza), s.durata), false); break;
    case Segnale::Tipo::ToneGenerato: RiproduciSuono(CreaTono(static_cast<float>(s.frequenza), s.durata), true); break;
    case Segnale::Tipo::File: RiproduciFile(s.file); break;
  }
}

void RiproduciSuono(const std::vector<uint8_t>& wave, bool attendi) {
  if (!HaAudio()) return;
  QTemporaryFile f;
  f.setAutoRemove(attendi);
  if (!f.open()) return;
  f.write(reinterpret_cast<const char*>(wave.data()), static_cast<qint64>(wave.size()));
  f.close();
  if (attendi)
    QProcess::execute("aplay", {"-q", f.fileName()});
  else
    QProcess::startDetached("sh", {"-c", "aplay -q \"$0\"; rm -f \"$0\"", f.fileName()});
}

void RiproduciFile(const std::string& file) {
  if (!HaAudio() || !QFileInfo::exists(Q(file))) return;
  QProcess::startDetached("aplay", {"-q", Q(file)});
}

}  // namespace ui
