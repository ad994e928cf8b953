#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct chmFile;

namespace ui {

// A compiled HTML help file, read: its pages, its contents and index, and the
// map from context numbers to topics compiled into it.
class LibroAiuto {
 public:
  struct Voce {
    std::string nome;
    std::string percorso;  // "/pagina.htm", "" for a heading without a page
    int livello = 0;       // 0 at the top
  };

  // nullptr when the file is not there or is no compiled help file.
  static std::unique_ptr<LibroAiuto> Apri(const std::string& file);
  ~LibroAiuto();
  LibroAiuto(const LibroAiuto&) = delete;
  LibroAiuto& operator=(const LibroAiuto&) = delete;

  // The bytes of a page or image ("/a.htm"); nullopt when the file has none.
  std::optional<std::string> Leggi(const std::string& percorso) const;
  bool Esiste(const std::string& percorso) const;

  const std::string& Titolo() const { return titolo_; }
  const std::string& ArgomentoIniziale() const { return iniziale_; }
  const std::vector<Voce>& Sommario() const { return sommario_; }
  const std::vector<Voce>& Indice() const { return indice_; }
  // The page of a context number; nullopt when the map has none.
  std::optional<std::string> Contesto(uint32_t numero) const;

 private:
  explicit LibroAiuto(chmFile* h) : h_(h) {}
  void LeggiSistema();
  void LeggiMappa();
  std::string Normalizza(const std::string& percorso) const;

  chmFile* h_;
  std::string titolo_, iniziale_;
  std::vector<Voce> sommario_, indice_;
  std::vector<std::pair<uint32_t, std::string>> contesti_;
};

// The entries of a sitemap (the contents or index source of a help file),
// with their nesting.
std::vector<LibroAiuto::Voce> LeggiMappaSito(const std::string& html);

}  // namespace ui
