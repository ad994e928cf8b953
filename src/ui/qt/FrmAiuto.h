#pragma once

#include <QLineEdit>
#include <QListWidget>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>

#include "src/ui/Aiuto.h"
#include "src/ui/LibroAiuto.h"

namespace ui {

// The pages of a help file for the viewer: links and images resolve inside it.
class PaginaAiuto final : public QTextBrowser {
  Q_OBJECT
 public:
  explicit PaginaAiuto(QWidget* parent) : QTextBrowser(parent) {}
  void ImpostaLibro(const LibroAiuto* l) { libro_ = l; }
  QVariant loadResource(int tipo, const QUrl& url) override;

 private:
  const LibroAiuto* libro_ = nullptr;
};

// The help viewer: contents and index on the left, the topic on the right.
class FrmAiuto final : public QWidget {
  Q_OBJECT
 public:
  FrmAiuto();
  // false when the file cannot be read.
  bool Apri(const std::string& file);
  const std::string& File() const { return file_; }
  void MostraPagina(const std::string& percorso);
  void MostraSommario();
  void MostraIndice(const std::string& parolaChiave);
  // The topic of a context number; the contents when the file has none.
  void MostraContesto(uint32_t numero);
  std::string PaginaCorrente() const;

 private:
  void FiltraIndice(const QString& testo);
  std::unique_ptr<LibroAiuto> libro_;
  std::string file_;
  QTabWidget* schede_;
  QTreeWidget* sommario_;
  QLineEdit* cercaIndice_;
  QListWidget* indice_;
  PaginaAiuto* pagina_;
};

// The viewer of the program's help: one window, opened on first use.
class AiutoQt final : public VisualizzatoreAiuto {
 public:
  void HtmlHelp(const ComandoAiuto& c) override;
  FrmAiuto* Finestra() const { return finestra_.get(); }

 private:
  std::unique_ptr<FrmAiuto> finestra_;
};

}  // namespace ui
