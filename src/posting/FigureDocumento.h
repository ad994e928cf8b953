#pragma once

#include <functional>
#include <string>

#include "components/util/Money.h"
#include "src/posting/Causale.h"

namespace compensato::posting {

// One journal line as the posting walk reads it.
struct RigaMovimento {
  int32_t rigReg = 0;
  std::string tipoPartita;
  std::string gruppoPartita, mastroPartita, contoPartita;
  std::string dareAvere;
  util::Money importoMon, importo;  // entry currency, company currency
  util::Money impostaMon, imposta;
  bool ivaNulla = true;  // no VAT code on the line
  std::string iva;
  std::string forzatura;  // "I" keeps a line out of the goods total
  std::string revCharge;  // Tabiva.RevCharge of the line's VAT code
};

// A figure kept in the entry's currency and in the company currency.
struct Doppio {
  double mon = 0;
  double azienda = 0;
  void Aggiungi(util::Money m, util::Money a) {
    mon += m.toDouble();
    azienda += a.toDouble();
  }
};

// What the lines of one registration tell about its document, gathered while
// the engine walks them: the installments are computed from these.
struct FigureDocumento {
  Doppio iva;                         // VAT of every line
  Doppio ivaRevCharge;                // VAT of the reverse-charge lines
  Doppio totale;                      // customer/supplier lines, debit positive
  Doppio merci;                       // goods lines of a non-EU import, debit positive
  std::string gruppo, mastro, conto;  // the document account; empty when none
  std::string primoTipo;              // TipoPartita of the first line
  bool primaRiga = true;
};

// Adds one line, in line order. creaRate tells whether the registration is
// getting installments; eContoMerci is asked only for a line that could be a
// goods line of an import.
void AccumulaRiga(FigureDocumento& f, const AttributiCausale& causale, const RigaMovimento& riga, bool creaRate,
                  const std::function<bool(const RigaMovimento&)>& eContoMerci);

// The figures of the installments, all in the currency of the installments.
struct FigureRate {
  double totale = 0;          // T, document total
  double iva = 0;             // V
  double ivaRevCharge = 0;    // R
  double merci = 0;           // G
  double omaggiAnticipi = 0;  // O, gifts and advances of the same invoice
  double ritenute = 0;        // W, withholding
};

struct ImportiDaScadenzare {
  double netto = 0;   // T - O - W
  double totale = 0;  // T written to the installments
  double iva = 0;     // V given to the schedule
  char segno = '+';   // the document sign
};

// Turns the figures into the amount to schedule: intra-EU, reverse charge and
// non-EU imports change what the document total stands for; a negative
// document (company currency, before the adjustment) is scheduled as a
// positive amount with the sign "-".
ImportiDaScadenzare CalcolaImportiRate(const AttributiCausale& causale, FigureRate f, double totaleAzienda);

}  // namespace compensato::posting
