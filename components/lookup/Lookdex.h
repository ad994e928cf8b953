#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "components/db/DbExecutor.h"
#include "components/lookup/Campo.h"
#include "components/lookup/Eventi.h"
#include "components/lookup/Finestra.h"
#include "components/lookup/Parametri.h"
#include "components/lookup/Ricerca.h"
#include "components/lookup/Tipi.h"
#include "components/util/Value.h"

namespace lookup {

// What a decode found.
struct Decodifica {
  bool trovato = false;
  std::string descrizione;          // "** INESISTENTE **" when not found
  std::vector<util::Value> valori;  // the requested fields, by position
};

inline constexpr const char* kInesistente = "** INESISTENTE **";

// The context the component is initialised with at startup.
struct Avvio {
  Proprietario* formPrincipale = nullptr;
  db::DbExecutor* db = nullptr;
  std::string conn;
  // The direct database object of the company data; kept for callers that
  // decode on it, the component's own queries run on `db`.
  db::DbExecutor* diretto = nullptr;
  std::string connDiretta;
  int64_t coloreNormale = 0x80000005;
  int64_t coloreErrore = 255;
  // Who calls: "p" a program with screens; any other text (the batch front
  // passes "b") never opens the window.
  std::string chiamante = "p";
  std::string formatoData = "dd/mm/yyyy";
};

// The decode settings object: "RetZeroRec" and "ForzaPassThrough", with
// the sub-object ogComlin holding what the initialisation gave
// ("ColoreNormale", "ColoreErrore", "FormatoData", "Chiamante").
//
// "RetZeroRec" says what an opening of the window does when the text in the
// field finds no row: 0 the caller wants no automatic lookups at all (the
// program then never opens one), 1 the window does not show and reports 1
// (nothing found), leaving "** INESISTENTE **" in the label so the caller
// may try the other key; 2 (the default) the window shows the whole list
// with an empty search box, which is what a lookup asked for by the
// operator wants.
//
// "ForzaPassThrough" is kept and read back, but every query of this
// component goes through the connection's translation anyway: the text
// typed is matched by the same escaped LIKE on every engine, which a
// statement sent untranslated could not promise.
struct ImpostazioniDecodifica {
  Parametri par{{"RetZeroRec", util::Value::Integer(2)}, {"ForzaPassThrough", false}};
  Parametri ogComlin{{"ColoreNormale", util::Value(0.0)},
                     {"ColoreErrore", util::Value(255.0)},
                     {"FormatoData", "dd/mm/yyyy"},
                     {"Chiamante", "p"}};
  util::Value ovLeggiPar(const std::string& nome) const { return par.ovLeggiPar(nome); }
  void ovLeggiPar(const std::string& nome, const util::Value& v) { par.ovLeggiPar(nome, v); }
};

// The window settings object.
//   "MargSopra", "MargSotto", "MargSin", "MargDestra": twips the window keeps
//     free at each edge of the screen when it places itself under its field
//     (0: it may reach the edge).
//   "CFHelpRic11", "CFHelpRic12": for accounts, what F2 and F3 search by: "C"
//     the code, "D" the description, "P" the VAT number, "F" the tax code;
//     empty keeps F2 on the code and F3 on the description.
//   "MostraImg": an image column for articles; no kind of this program has one.
//   olColBackOk: the search box's background while its text finds rows.
struct ImpostazioniFinestra {
  Parametri par{{"MargSopra", util::Value::Integer(0)},
                {"MargSotto", util::Value::Integer(0)},
                {"MargSin", util::Value::Integer(0)},
                {"MargDestra", util::Value::Integer(0)},
                {"CFHelpRic11", ""},
                {"CFHelpRic12", ""},
                {"MostraImg", false}};
  int64_t olColBackOk = 0xFFFF80;
  util::Value ovLeggiPar(const std::string& nome) const { return par.ovLeggiPar(nome); }
  void ovLeggiPar(const std::string& nome, const util::Value& v) { par.ovLeggiPar(nome, v); }
};

// The suite's lookup component: decodes codes of a kind (accounts of one
// type, currencies, payment types, transaction codes, cost centres, ...)
// into their description and requested fields, paints the field, and owns
// the lookup window.
//
// The window, opened with F2 to F12 or a negative key:
//   F2   searches by code, from its start, beginning with the field's text
//        (accounts: "CFHelpRic11" may choose another key);
//   F3   searches by description, anywhere in it (accounts: "CFHelpRic12");
//   F4 to F12 open the whole list, searching by code;
//   -(n+1) searches by the n-th column of the column set.
// In the window typing narrows the list at each key; F2 and F3 switch what
// the text matches; arrows, Page Up/Down, Ctrl+Home/End move; Enter
// chooses (the code into the field, the description into its label); Esc
// closes with nothing chosen; F5 "Aggiorna" reads the table again; F6
// "Gestione" raises LanciaKeyPrim (the kind), LanciaKeySec (the current
// code) and ClsMainMenuFrm.
class Lookdex {
 public:
  Lookdex();
  // A component ready for decodes on one connection (the posting engine's use).
  Lookdex(db::DbExecutor& executor, std::string conn);
  ~Lookdex();
  Lookdex(const Lookdex&) = delete;
  Lookdex& operator=(const Lookdex&) = delete;

  void Inizializza(const Avvio& avvio);
  const Avvio& Contesto() const { return avvio_; }

  ImpostazioniDecodifica& ogDecodifica() { return decodifica_; }
  ImpostazioniFinestra& ogImpFinestra() { return impFinestra_; }
  // The lookup window object (a windowless one until a window is given).
  FinestraAiuto& ogFrmAiuto() { return *finestra_; }
  void ImpostaFinestra(std::unique_ptr<FinestraAiuto> finestra);
  SorgenteEventi& ogEventi() { return eventi_; }

  // Decode a code: the code of an account is its stored form "GGMMCCCCCC"
  // (or with dashes); an empty code with a filter decodes the first row the
  // filter selects. For "Conto" a non-empty tipoConto ("1", "2", "3") also
  // requires PianoConti.Tipo. Raises util::RuntimeError for an unknown kind
  // or a database failure.
  Decodifica DecodificaCodice(const std::string& kind, const std::string& code,
                              const std::vector<std::string>& campi = {}, const std::string& filtro = "",
                              const std::string& tipoConto = "");

  // Decode into a field: the code is `valore` when given, else the field's
  // text. Found: the label gets the description (or, with a text option,
  // that column of the row), a field painted with the error colour gets the
  // normal one back (any other colour, the focus colour, stays). Not found:
  // the label gets "** INESISTENTE **" and the field the error colour. An
  // empty code clears the label and finds nothing. `campi` holds field names
  // on entry and, found or not, their values on return, by position.
  // `noColore` leaves the field's colour alone; `tipoConto` 1 to 3 keeps an
  // account to that type. Returns true when found.
  bool DecodificaInCampo(const std::string& kind, Campo& campo, Etichetta& etichetta,
                         std::vector<util::Value>* campi = nullptr, bool noColore = false,
                         const std::string& opzioneTesto = "", int tipoConto = 0,
                         const std::optional<std::string>& valore = std::nullopt, const std::string& filtro = "");

  // Opens the lookup window (see above) over `form`. `tipoConto` keeps the
  // accounts to one type (0 any). `colonne` is the column set (LeggiColonne)
  // with the caller's option already appended, `filtro` an SQL condition.
  // Returns 0 when the window was shown (`scelto` tells whether a row was
  // chosen), 1 when nothing was found and the window did not show
  // ("RetZeroRec" 1), 2 when the key opens no window or the caller keeps it
  // closed. Raises util::RuntimeError for a database failure.
  int ApriFinestra(const std::string& kind, Campo& campo, Etichetta& etichetta, int tasto, Proprietario* form,
                   int tipoConto, bool& scelto, const std::string& opzione, const std::string& colonne,
                   const std::string& filtro);

 private:
  db::DbExecutor& Db() const;
  Avvio avvio_;
  ImpostazioniDecodifica decodifica_;
  ImpostazioniFinestra impFinestra_;
  std::unique_ptr<FinestraAiuto> finestra_;
  SorgenteEventi eventi_;
};

}  // namespace lookup
