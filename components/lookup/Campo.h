#pragma once

#include <cstdint>
#include <string>

namespace lookup {

// The text field whose code a decode reads and whose background it paints.
// Colours are stored colours: 0xBBGGRR, or a system colour (0x800000xx).
class Campo {
 public:
  virtual ~Campo() = default;
  virtual std::string Testo() const = 0;
  virtual void ImpostaTesto(const std::string& testo) = 0;
  virtual int64_t Sfondo() const = 0;
  virtual void ImpostaSfondo(int64_t colore) = 0;
};

// The label beside the field that shows the description.
class Etichetta {
 public:
  virtual ~Etichetta() = default;
  virtual std::string Testo() const = 0;
  virtual void ImpostaTesto(const std::string& testo) = 0;
};

// A window the lookup window opens over (the active screen). Only the
// window side knows what it is.
class Proprietario {
 public:
  virtual ~Proprietario() = default;
};

// A field and a label without a window: for the batch front and for tests.
class CampoTesto final : public Campo {
 public:
  explicit CampoTesto(std::string testo = "") : testo_(std::move(testo)) {}
  std::string Testo() const override { return testo_; }
  void ImpostaTesto(const std::string& t) override { testo_ = t; }
  int64_t Sfondo() const override { return sfondo_; }
  void ImpostaSfondo(int64_t c) override { sfondo_ = c; }

 private:
  std::string testo_;
  int64_t sfondo_ = 0x80000005;
};

class EtichettaTesto final : public Etichetta {
 public:
  std::string Testo() const override { return testo_; }
  void ImpostaTesto(const std::string& t) override { testo_ = t; }

 private:
  std::string testo_;
};

}  // namespace lookup
