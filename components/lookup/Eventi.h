#pragma once

#include <string>

namespace lookup {

// The events of the component, answered by the program that holds it.
class Eventi {
 public:
  virtual ~Eventi() = default;
  // The window's "Gestione": the suite's main menu to the front, so the
  // operator starts the table's own program from there.
  virtual void ClsMainMenuFrm() = 0;
  // Before the window opens: kind, the field's text and the filter; the key
  // (0 when the caller gave none), the account type and the text option.
  // `esito` false keeps the window closed.
  virtual void ClsPrepDecod(const std::string& kind, const std::string& testo, const std::string& filtro, int& tasto,
                            int opzione, const std::string& opzioneTesto, bool& esito) = 0;
  // The window's "Gestione" names what the table's program should open: the
  // kind (primary key) and the code of the current row (secondary key).
  virtual void LanciaKeyPrim(const std::string& chiave) = 0;
  virtual void LanciaKeySec(const std::string& chiave) = 0;
};

// Where the events come from: one listener at a time.
class SorgenteEventi {
 public:
  void Collega(Eventi* e) { eventi_ = e; }
  void Scollega(const Eventi* e) {
    if (eventi_ == e) eventi_ = nullptr;
  }
  Eventi* Ascoltatore() const { return eventi_; }

  void ClsMainMenuFrm() {
    if (eventi_) eventi_->ClsMainMenuFrm();
  }
  bool ClsPrepDecod(const std::string& kind, const std::string& testo, const std::string& filtro, int& tasto,
                    int opzione, const std::string& opzioneTesto) {
    bool esito = true;
    if (eventi_) eventi_->ClsPrepDecod(kind, testo, filtro, tasto, opzione, opzioneTesto, esito);
    return esito;
  }
  void LanciaKeyPrim(const std::string& k) {
    if (eventi_) eventi_->LanciaKeyPrim(k);
  }
  void LanciaKeySec(const std::string& k) {
    if (eventi_) eventi_->LanciaKeySec(k);
  }

 private:
  Eventi* eventi_ = nullptr;
};

}  // namespace lookup
