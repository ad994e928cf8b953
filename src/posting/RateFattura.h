#pragma once

#include <cstdint>
#include <string>

#include "components/util/Date.h"
#include "components/util/Value.h"
#include "src/data/Contesto.h"
#include "src/posting/Causale.h"
#include "src/posting/ContabMovPn.h"
#include "src/posting/FigureDocumento.h"

namespace compensato::posting {

// The header fields installment creation reads, as the source row holds them.
struct TestataDocumento {
  int16_t anno = 0;
  int32_t numReg = 0;  // in the source set
  std::string causale;
  std::string pagamento;
  util::Value banca, ragRB;
  std::string moneta;
  double cambio = 0;
  util::Value preDoc, numDoc, dataDoc;
  util::Value preProt, numProt, dataProt;
  int16_t annoFat = 0;
  int32_t numRifFat = 0;
  util::Value cig, cup;
};

// Company and personal parameters read once per posting call.
struct ParametriContab {
  std::string contFatt = "N";          // "Fat.ContFatt"
  std::string fattCreaScad;            // "Fat.FattCreaScad"
  std::string azzera;                  // "Coge.Azzera"
  std::string notaCredInvSegno = "N";  // personal "NotaCredInvSegno" of "Scadenze"
};
ParametriContab LeggiParametri(Contesto& ctx);

// The tables the queries of one call run on.
struct TabelleContab {
  std::string testata, righe;  // source
  std::string righeDestinazione;
};

// Creates (or links) the installments of one posted registration when its
// document calls for them. numReg is the number it was posted under. Returns
// the number of schedule errors and their text in testoScadenze; database
// errors propagate.
int RateRegistrazione(Contesto& ctx, const ArgomentiContab& a, const ParametriContab& p, const TabelleContab& tabelle,
                      const TestataDocumento& t, const AttributiCausale& causale, const FigureDocumento& f,
                      int32_t numReg, std::string& testoScadenze);

}  // namespace compensato::posting
