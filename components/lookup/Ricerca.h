#pragma once

#include <string>
#include <vector>

#include "components/db/DbExecutor.h"
#include "components/lookup/Tipi.h"

namespace lookup {

// What the window's search text is matched against.
enum class Chiave {
  Codice,       // the code, from its start (an account: group, ledger, account, dashes optional)
  Descrizione,  // anywhere in the description
  Colonna,      // anywhere in another column of the table
};

struct Criterio {
  Chiave chiave = Chiave::Codice;
  std::string colonna;  // for Chiave::Colonna
};

// One row of the window: the code Enter writes, the description for the
// label, and the text of each column as shown.
struct Riga {
  std::string codice;
  std::string descrizione;
  std::vector<std::string> celle;
};

struct DefinizioneRicerca {
  Tipo tipo;
  int tipoConto = 0;             // accounts: 1, 2, 3 keep to one type; 0 any
  std::vector<Colonna> colonne;  // LeggiColonne
  std::string filtro;            // the caller's SQL condition, "" for none
  std::string formatoData = "dd/mm/yyyy";
};

// The query behind the lookup window, without a window: each search reads
// the rows whose key matches the text typed so far. The text is matched as
// typed: the dialect's wildcards in it (* ? [) are taken literally, and so
// are the engine's (% _), and letter case is ignored on both engines.
class Ricerca {
 public:
  Ricerca(db::DbExecutor& db, std::string conn, DefinizioneRicerca definizione);

  // Raises util::RuntimeError for a database failure (a column of the set
  // the table does not have, a filter the engine refuses).
  void Cerca(const Criterio& criterio, const std::string& testo);
  const std::vector<Riga>& Righe() const { return righe_; }
  const std::vector<Colonna>& Colonne() const { return def_.colonne; }
  const DefinizioneRicerca& Definizione() const { return def_; }

  // The SELECT a search runs, in the program's dialect.
  std::string Istruzione(const Criterio& criterio, const std::string& testo) const;

 private:
  db::DbExecutor& db_;
  std::string conn_;
  DefinizioneRicerca def_;
  std::vector<Riga> righe_;
};

// A LIKE pattern (in the dialect) matching `testo` literally: at the start
// of the value, or anywhere in it.
std::string PatternLike(const std::string& testo, bool ovunque);

// The criterion of a key letter of the account searches ("CFHelpRic11",
// "CFHelpRic12"): "C" code, "D" description, "P" VAT number, "F" tax code;
// anything else gives `altrimenti`.
Criterio CriterioDaLettera(const std::string& lettera, const Criterio& altrimenti);

}  // namespace lookup
