#include "src/ui/qt/FrmAiuto.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QSplitter>
#include <QVBoxLayout>
#include <vector>

namespace ui {
namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

constexpr int kRuoloPercorso = Qt::UserRole + 1;

}  // namespace

QVariant PaginaAiuto::loadResource(int tipo, const QUrl& url) {
  if (!libro_) return QTextBrowser::loadResource(tipo, url);
  std::string percorso = url.path().toStdString();
  if (percorso.empty() || percorso[0] != '/') percorso.insert(0, "/");
  const std::optional<std::string> dati = libro_->Leggi(percorso);
  if (!dati) return {};
  const QByteArray b(dati->data(), static_cast<qsizetype>(dati->size()));
  if (tipo == QTextDocument::HtmlResource || tipo == QTextDocument::StyleSheetResource) return QString::fromUtf8(b);
  return b;
}

FrmAiuto::FrmAiuto() {
  setObjectName("frmAiuto");
  setWindowTitle("Guida");
  auto* divisore = new QSplitter(this);
  schede_ = new QTabWidget(divisore);
  schede_->setObjectName("tabAiuto");
  sommario_ = new QTreeWidget(schede_);
  sommario_->setObjectName("treSommario");
  sommario_->setHeaderHidden(true);
  schede_->addTab(sommario_, "Sommario");
  auto* paginaIndice = new QWidget(schede_);
  auto* li = new QVBoxLayout(paginaIndice);
  cercaIndice_ = new QLineEdit(paginaIndice);
  cercaIndice_->setObjectName("txtIndice");
  cercaIndice_->setPlaceholderText("Parola da cercare");
  indice_ = new QListWidget(paginaIndice);
  indice_->setObjectName("lstIndice");
  li->addWidget(cercaIndice_);
  li->addWidget(indice_);
  schede_->addTab(paginaIndice, "Indice");
  pagina_ = new PaginaAiuto(divisore);
  pagina_->setObjectName("brwArgomento");
  divisore->addWidget(schede_);
  divisore->addWidget(pagina_);
  divisore->setStretchFactor(1, 3);
  auto* lay = new QHBoxLayout(this);
  lay->setContentsMargins(4, 4, 4, 4);
  lay->addWidget(divisore);
  resize(900, 600);

  connect(sommario_, &QTreeWidget::itemActivated, this,
          [this](QTreeWidgetItem* i) { MostraPagina(i->data(0, kRuoloPercorso).toString().toStdString()); });
  connect(sommario_, &QTreeWidget::itemClicked, this,
          [this](QTreeWidgetItem* i) { MostraPagina(i->data(0, kRuoloPercorso).toString().toStdString()); });
  connect(indice_, &QListWidget::itemActivated, this,
          [this](QListWidgetItem* i) { MostraPagina(i->data(kRuoloPercorso).toString().toStdString()); });
  connect(indice_, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* i) { MostraPagina(i->data(kRuoloPercorso).toString().toStdString()); });
  connect(cercaIndice_, &QLineEdit::textChanged, this, &FrmAiuto::FiltraIndice);
  connect(cercaIndice_, &QLineEdit::returnPressed, this, [this] {
    for (int r = 0; r < indice_->count(); ++r)
      if (!indice_->item(r)->isHidden()) {
        MostraPagina(indice_->item(r)->data(kRuoloPercorso).toString().toStdString());
        break;
      }
  });
}

bool FrmAiuto::Apri(const std::string& file) {
  if (libro_ && file == file_) return true;
  std::unique_ptr<LibroAiuto> l = LibroAiuto::Apri(file);
  if (!l) return false;
  pagina_->ImpostaLibro(nullptr);
  libro_ = std::move(l);
  file_ = file;
  pagina_->ImpostaLibro(libro_.get());
  // The viewer reads a page's linked style sheet only in part; the book's
  // own, when it has one by the usual name, applies to every page.
  pagina_->document()->setDefaultStyleSheet(Q(libro_->Leggi("/stile.css").value_or("")));
  setWindowTitle(libro_->Titolo().empty() ? "Guida" : Q(libro_->Titolo()));
  sommario_->clear();
  std::vector<QTreeWidgetItem*> genitori;
  for (const LibroAiuto::Voce& v : libro_->Sommario()) {
    const size_t livello = static_cast<size_t>(std::max(v.livello, 0));
    genitori.resize(std::min(genitori.size(), livello));
    QTreeWidgetItem* i = genitori.empty() ? new QTreeWidgetItem(sommario_) : new QTreeWidgetItem(genitori.back());
    i->setText(0, Q(v.nome));
    i->setData(0, kRuoloPercorso, Q(v.percorso));
    genitori.push_back(i);
  }
  sommario_->expandAll();
  indice_->clear();
  for (const LibroAiuto::Voce& v : libro_->Indice()) {
    auto* i = new QListWidgetItem(Q(v.nome), indice_);
    i->setData(kRuoloPercorso, Q(v.percorso));
  }
  return true;
}

void FrmAiuto::MostraPagina(const std::string& percorso) {
  if (!libro_ || percorso.empty()) return;
  pagina_->setSource(QUrl(Q(percorso)), QTextDocument::HtmlResource);
  // The contents follow the page shown.
  for (QTreeWidgetItemIterator it(sommario_); *it; ++it)
    if ((*it)->data(0, kRuoloPercorso).toString().toStdString() == percorso) {
      sommario_->setCurrentItem(*it);
      break;
    }
}

void FrmAiuto::MostraSommario() {
  schede_->setCurrentIndex(0);
  if (libro_ && pagina_->source().isEmpty()) MostraPagina(libro_->ArgomentoIniziale());
}

void FrmAiuto::MostraIndice(const std::string& parolaChiave) {
  schede_->setCurrentIndex(1);
  cercaIndice_->setText(Q(parolaChiave));
  cercaIndice_->setFocus();
  if (libro_ && pagina_->source().isEmpty()) MostraPagina(libro_->ArgomentoIniziale());
}

void FrmAiuto::MostraContesto(uint32_t numero) {
  if (!libro_) return;
  if (const std::optional<std::string> p = libro_->Contesto(numero))
    MostraPagina(*p);
  else
    MostraSommario();
}

std::string FrmAiuto::PaginaCorrente() const { return pagina_->source().path().toStdString(); }

void FrmAiuto::FiltraIndice(const QString& testo) {
  bool primo = true;
  for (int r = 0; r < indice_->count(); ++r) {
    QListWidgetItem* i = indice_->item(r);
    const bool mostra = testo.isEmpty() || i->text().startsWith(testo, Qt::CaseInsensitive);
    i->setHidden(!mostra);
    if (mostra && primo) {
      indice_->setCurrentItem(i);
      primo = false;
    }
  }
}

void AiutoQt::HtmlHelp(const ComandoAiuto& c) {
  const TargetAiuto t = ScomponiTarget(c.target);
  if (!finestra_) finestra_ = std::make_unique<FrmAiuto>();
  // The viewer's own failures are not the operator's business: a file it
  // cannot read simply shows nothing.
  if (!finestra_->Apri(t.file)) return;
  switch (c.comando) {
    case kAiutoSommario:
      if (t.argomento.empty())
        finestra_->MostraSommario();
      else
        finestra_->MostraPagina("/" + t.argomento);
      break;
    case kAiutoIndice: finestra_->MostraIndice(c.parolaChiave); break;
    case kAiutoContesto: finestra_->MostraContesto(c.contesto); break;
    default: return;
  }
  // Over a modal window (the message window) the viewer must be modal too,
  // or it would show without taking a key or a click; over the screens
  // alone it is an ordinary window.
  Qt::WindowModality voluta = Qt::NonModal;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w != finestra_.get() && w->isVisible() && w->isModal()) voluta = Qt::ApplicationModal;
  if (finestra_->windowModality() != voluta) {
    finestra_->hide();
    finestra_->setWindowModality(voluta);
  }
  finestra_->show();
  finestra_->raise();
  finestra_->activateWindow();
}

}  // namespace ui
