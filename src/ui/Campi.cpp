#include "src/ui/Campi.h"

#include "components/util/DateEntry.h"
#include "components/util/Text.h"

namespace ui {

void PrendeFuoco(Campo& campo, const std::vector<Campo*>& campiSchermo, const ColoriCampi& colori, bool forza) {
  if (colori.fuoco != colori.noFuoco) {
    for (Campo* c : campiSchermo)
      if (c && c != &campo && util::EqualsIgnoreCase(c->Nome(), "txt") && c->Sfondo() == colori.fuoco)
        c->ImpostaSfondo(colori.noFuoco);
  }
  if (forza || campo.Sfondo() != colori.errore) campo.ImpostaSfondo(colori.fuoco);
}

void PerdeFuoco(Campo& campo, const ColoriCampi& colori, bool forza) {
  if (forza || campo.Sfondo() != colori.errore) campo.ImpostaSfondo(colori.noFuoco);
}

int ControllaData(Campo& campo, const VerificaData& v, const util::Date& dataLavoro, const std::string& dataMinima,
                  const ColoriCampi& colori, Operatore& op, std::string* messaggio) {
  std::string testo = campo.Testo();
  std::string motivo;
  util::Date data;
  int stato = util::kDataErrata;
  try {
    stato = util::ValidateDate(testo, v.opzione, dataLavoro, &data, &motivo);
    if (stato != util::kDataErrata && stato != util::kDataRifiutata) campo.ImpostaTesto(testo);
  } catch (...) {
    stato = util::kDataErrata;
  }
  bool valida = stato != util::kDataErrata && stato != util::kDataRifiutata;
  if (!valida && v.mostra && !motivo.empty()) op.MessageBox(motivo);
  if (valida && !util::Trim(testo).empty() && !util::Trim(dataMinima).empty()) {
    std::string minima = dataMinima;
    util::Date dataMin;
    const int s = util::ValidateDate(minima, util::kDataFacoltativa, dataLavoro, &dataMin);
    if (s != util::kDataErrata && !dataMin.isEmpty() && data.dateOnly() < dataMin.dateOnly()) {
      valida = false;
      stato = util::kDataRifiutata;
      motivo = "Data troppo piccola";
      if (v.mostra) op.MessageBox(motivo);
    }
  }
  if (messaggio) *messaggio = motivo;
  if (valida) {
    campo.ImpostaSfondo(v.coloreValido.value_or(colori.normale));
  } else {
    if (v.modo & kSegnaColore) campo.ImpostaSfondo(colori.errore);
    if (v.modo & kSegnaFuoco) campo.DaiFuoco();
  }
  return stato;
}

}  // namespace ui
