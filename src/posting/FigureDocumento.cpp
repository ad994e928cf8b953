#include "src/posting/FigureDocumento.h"

#include "components/util/Round.h"

namespace compensato::posting {
namespace {

bool ContoCliFor(const AttributiCausale& c, const RigaMovimento& r) {
  return (r.tipoPartita == "3" && (Uguale(c.tipoReg, "V") || Uguale(c.regInsoluto, "S"))) ||
         (r.tipoPartita == "2" && Uguale(c.tipoReg, "A"));
}

void Segnato(Doppio& d, const RigaMovimento& r) {
  if (r.dareAvere == "D" || r.dareAvere == "d")
    d.Aggiungi(r.importoMon, r.importo);
  else
    d.Aggiungi(-r.importoMon, -r.importo);
}

// The sign of an amount without the noise of its binary writing.
bool Negativo(double x) { return util::Round(x, "A", 1, -8) < 0; }

}  // namespace

void AccumulaRiga(FigureDocumento& f, const AttributiCausale& c, const RigaMovimento& r, bool creaRate,
                  const std::function<bool(const RigaMovimento&)>& eContoMerci) {
  if (f.primaRiga) {
    f.primoTipo = r.tipoPartita;
    f.primaRiga = false;
  }
  f.iva.Aggiungi(r.impostaMon, r.imposta);
  if (Uguale(r.revCharge, "S")) f.ivaRevCharge.Aggiungi(r.impostaMon, r.imposta);

  const bool stessoConto = r.gruppoPartita == f.gruppo && r.mastroPartita == f.mastro && r.contoPartita == f.conto;
  if (ContoCliFor(c, r) && (r.rigReg == 1 || stessoConto)) {
    f.gruppo = r.gruppoPartita;
    f.mastro = r.mastroPartita;
    f.conto = r.contoPartita;
    Segnato(f.totale, r);
    return;
  }
  const bool documentoConRate = creaRate && (c.Documento() || Uguale(c.regInsoluto, "S"));
  if (documentoConRate && c.collegataSenzaContropartita && !r.ivaNulla && !Uguale(r.forzatura, "I") && eContoMerci &&
      eContoMerci(r))
    Segnato(f.merci, r);
}

ImportiDaScadenzare CalcolaImportiRate(const AttributiCausale& c, FigureRate f, double totaleAzienda) {
  double& T = f.totale;
  double& V = f.iva;
  const bool opposti = (Negativo(T) && !Negativo(V)) || (Negativo(V) && !Negativo(T));
  // The goods lines stand on the other side of the supplier's line, so their
  // total comes out with the opposite sign of the document total. The
  // import's amount is built from it in the document's orientation; taken
  // as it is, every import would schedule a negative amount.
  const double merci = (Negativo(T) != Negativo(f.merci)) ? -f.merci : f.merci;
  const bool importNoCee = Uguale(c.importNoCee, "S");
  const bool a = !importNoCee || c.collegataNonVendita || c.collegataSenzaContropartita;
  if (!Uguale(c.intraCee, "S") && !Uguale(c.revCharge, "S") && a) {
    if (Uguale(c.revCharge, "M")) {
      T = opposti ? T + f.ivaRevCharge : T - f.ivaRevCharge;
    } else if (importNoCee) {
      if (c.collegataNonVendita) {
        T = opposti ? merci - V : merci + V;
      } else {
        T = merci;
        V = 0;
      }
    }
  } else {
    T = opposti ? T + V : T - V;
    V = 0;
  }
  ImportiDaScadenzare r;
  if (Negativo(totaleAzienda)) {
    T = -T;
    r.segno = '-';
  }
  r.totale = T;
  r.iva = V;
  r.netto = T - f.omaggiAnticipi - f.ritenute;
  return r;
}

}  // namespace compensato::posting
