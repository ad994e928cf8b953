// The program, as the menu host launches it, with an operator at the
// keyboard: from its first event on it plays the script named by
// COMPENSATO_SCENARIO, one step a line, pressing keys into whatever has the
// focus, and writes how far it got to COMPENSATO_SCENARIO_ESITO.
//
//   attendi <window>      waits until the active window (or modal one) has that name
//   messaggio <text>      waits until a message window shows a text containing it
//   vedi <text>           waits until the active window shows it, in a label or a grid cell
//   foto <file>           saves a picture of the active window
//   tasto <key>           one key, as Qt spells it: Tab, Return, F2, Alt+C, Shift+End
//   scrivi <text>         types the text, a key a character
//   vai <control>         presses Tab until that control has the focus
//   pausa <ms>            lets the program run on
//   segna <text>          writes the text to the result file
//
// A step that waits gives up after 20 s; the result then says which step
// failed and what had the focus, and the script stops there.
#include <QAbstractItemView>
#include <QApplication>
#include <QKeySequence>
#include <QLabel>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "src/startup/Programma.h"
#include "src/startup/qt/Principale.h"

namespace {

using Orologio = std::chrono::steady_clock;

QWidget* Attiva() {
  if (QWidget* m = QApplication::activeModalWidget()) return m;
  return QApplication::activeWindow();
}

std::string Nome(const QWidget* w) { return w ? w->objectName().toStdString() : "(nessuno)"; }

// The text a message window shows, in its label or its text box.
std::string TestoMessaggio(QWidget* w) {
  std::string t;
  if (auto* l = w->findChild<QLabel*>("LabMessaggio"); l && l->isVisible()) t += l->text().toStdString();
  if (auto* e = w->findChild<QTextEdit*>("txtMessaggio"); e && e->isVisible()) t += e->toPlainText().toStdString();
  return t;
}

// Whether a window shows the text: a visible label, or a cell of a visible grid.
bool Mostra(QWidget* w, const std::string& testo) {
  if (!w) return false;
  const QString t = QString::fromStdString(testo);
  for (QLabel* l : w->findChildren<QLabel*>())
    if (l->isVisible() && l->text().contains(t)) return true;
  for (QAbstractItemView* v : w->findChildren<QAbstractItemView*>()) {
    if (!v->isVisible() || !v->model()) continue;
    const QAbstractItemModel* m = v->model();
    for (int r = 0; r < m->rowCount(); ++r)
      for (int c = 0; c < m->columnCount(); ++c)
        if (m->index(r, c).data().toString().contains(t)) return true;
  }
  return false;
}

class Giocatore {
 public:
  Giocatore(std::vector<std::string> passi, std::string esito) : passi_(std::move(passi)), esito_(std::move(esito)) {
    std::ofstream(esito_, std::ios::trunc);
  }

  void Avvia() {
    timer_.setInterval(50);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Passo(); });
    timer_.start();
  }

 private:
  void Scrivi(const std::string& riga) {
    std::ofstream f(esito_, std::ios::app);
    f << riga << "\n";
  }
  void Fallisci(const std::string& perche) {
    timer_.stop();
    Scrivi("errore al passo " + std::to_string(n_ + 1) + " (" + passi_[n_] + "): " + perche + "; attiva " +
           Nome(Attiva()) + (Nome(Attiva()) == "frmMsgCom" ? " \"" + TestoMessaggio(Attiva()) + "\"" : "") +
           ", fuoco " + Nome(QApplication::focusWidget()));
  }
  // Keys go from an event of their own: one that opens a modal window
  // returns only when the window closes, and a timer does not fire again
  // while its own event is still being handled.
  template <class F>
  static void Premi(F premi) {
    QTimer::singleShot(0, [premi] {
      if (QWidget* w = QApplication::focusWidget()) premi(w);
    });
  }
  // Runs the step, calling `fatto` once it is done (before a key goes).
  // True when it pressed a key: the state may have moved on meanwhile.
  template <class F>
  bool Esegui(const std::string& verbo, const std::string& arg, F fatto) {
    auto se = [&fatto](bool vero) {
      if (vero) fatto();
      return false;
    };
    if (verbo == "attendi") return se(Nome(Attiva()) == arg);
    if (verbo == "messaggio") {
      QWidget* w = Attiva();
      return se(w && Nome(w) == "frmMsgCom" && TestoMessaggio(w).find(arg) != std::string::npos);
    }
    if (verbo == "vedi") return se(Mostra(Attiva(), arg));
    if (verbo == "foto") {
      QWidget* w = Attiva();
      if (!w || !w->grab().save(QString::fromStdString(arg), "PNG")) throw std::runtime_error("foto non salvata");
      return se(true);
    }
    if (verbo == "pausa") return se(Orologio::now() - inizio_ >= std::chrono::milliseconds(std::stoi(arg)));
    if (verbo == "segna") {
      Scrivi(arg);
      return se(true);
    }
    QWidget* fuoco = QApplication::focusWidget();
    if (!fuoco) return false;
    if (verbo == "scrivi") {
      fatto();
      Premi([testo = QString::fromStdString(arg)](QWidget* w) { QTest::keyClicks(w, testo); });
      return true;
    }
    if (verbo == "tasto") {
      const QKeySequence s = QKeySequence::fromString(QString::fromStdString(arg));
      if (s.isEmpty()) throw std::runtime_error("tasto sconosciuto");
      fatto();
      Premi([k = s[0]](QWidget* w) { QTest::keyClick(w, k.key(), k.keyboardModifiers()); });
      return true;
    }
    if (verbo == "vai") {
      if (Nome(fuoco) == arg) return se(true);
      if (++tab_ > 80) throw std::runtime_error("controllo mai raggiunto");
      Premi([](QWidget* w) { QTest::keyClick(w, Qt::Key_Tab); });
      return true;
    }
    throw std::runtime_error("passo sconosciuto");
  }
  // The step is counted done before its key goes, and a key may still be
  // under way (in a modal window's loop) when the next step runs.
  void Passo() {
    if (n_ >= passi_.size()) {
      if (timer_.isActive()) Scrivi("fatto");
      timer_.stop();
      return;
    }
    const std::string riga = passi_[n_];
    const size_t spazio = riga.find(' ');
    const std::string verbo = riga.substr(0, spazio);
    const std::string arg = spazio == std::string::npos ? "" : riga.substr(spazio + 1);
    if (!avviato_) {
      avviato_ = true;
      inizio_ = Orologio::now();
      tab_ = 0;
    }
    const size_t questo = n_;
    try {
      if (Esegui(verbo, arg, [this, questo] {
            if (n_ == questo) {
              ++n_;
              avviato_ = false;
            }
          }))
        return;
    } catch (const std::exception& e) {
      Fallisci(e.what());
      return;
    }
    if (n_ == questo && Orologio::now() - inizio_ > std::chrono::seconds(20)) Fallisci("tempo scaduto");
  }

  std::vector<std::string> passi_;
  std::string esito_;
  QTimer timer_;
  size_t n_ = 0;
  bool avviato_ = false;
  Orologio::time_point inizio_;
  int tab_ = 0;
};

std::vector<std::string> LeggiPassi(const char* file) {
  std::vector<std::string> passi;
  std::ifstream in(file ? file : "");
  for (std::string riga; std::getline(in, riga);) {
    while (!riga.empty() && (riga.back() == ' ' || riga.back() == '\r')) riga.pop_back();
    if (!riga.empty() && riga[0] != '#') passi.push_back(riga);
  }
  return passi;
}

}  // namespace

int main(int argc, char** argv) {
  std::unique_ptr<Giocatore> giocatore;
  return startup::EseguiProgramma(argc, argv, [&giocatore](startup::Programma&) {
    const char* esito = std::getenv("COMPENSATO_SCENARIO_ESITO");
    giocatore =
        std::make_unique<Giocatore>(LeggiPassi(std::getenv("COMPENSATO_SCENARIO")), esito ? esito : "/dev/null");
    giocatore->Avvia();
  });
}
