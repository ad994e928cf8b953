#pragma once

#include <map>
#include <string>

#include "src/data/Contesto.h"

namespace compensato::posting {

// What a transaction code (Causali) says about how its registrations post.
struct AttributiCausale {
  std::string tipoCausale;      // "A", "AS", "V", "VS" documents; "AP" opening entry
  std::string tipoReg;          // VAT register: "V" sales, "A" purchases
  std::string inValuta;         // "S": installments may be in the entry's currency
  std::string regInsoluto;      // "S": unpaid bill
  std::string causRit;          // code of the withholding entries of the document
  std::string intraCee;         // "S": intra-EU document
  std::string revCharge;        // "S" whole document, "M" some lines
  std::string importNoCee;      // "S": import from outside the EU
  std::string causConcatenata;  // linked code of a non-EU import
  // From the linked code of a non-EU import; both false otherwise.
  bool collegataNonVendita = false;
  bool collegataSenzaContropartita = false;

  bool Documento() const;  // a purchase or sales document
  bool Apertura() const;   // an opening entry
};

// Case-insensitive equality for the one-letter codes of the tables.
bool Uguale(const std::string& a, const std::string& b);

// Reads the attributes of the codes met during one posting call; the table is
// read-only for the engine, so each code is read once per call.
class CausaliLette {
 public:
  explicit CausaliLette(Contesto& ctx) : ctx_(ctx) {}
  const AttributiCausale& Leggi(const std::string& causale);

 private:
  AttributiCausale Carica(const std::string& causale);
  Contesto& ctx_;
  std::map<std::string, AttributiCausale> lette_;
};

}  // namespace compensato::posting
