#include "src/data/AppoTemp.h"

#include "components/db/DbCursor.h"
#include "components/util/SqlLiteral.h"
#include "src/data/CampiOpzionali.h"
#include "src/ui/Errori.h"

namespace compensato {
namespace {

std::string ColonnaScrittura(int tipo) {
  switch (tipo) {
    case appoggio::kTesto: return ",Valorestringa)";
    case appoggio::kNumero: return ",Valorenumero)";
    case appoggio::kData: return ",Valoredata)";
    case appoggio::kTestoLungo: return ",Valorememo)";
    default: return ")";  // no value column: the statement fails, as it must
  }
}

std::string ColonnaLettura(int tipo) {
  switch (tipo) {
    case appoggio::kTesto: return " ValoreStringa";
    case appoggio::kNumero: return " ValoreNumero";
    case appoggio::kData: return " ValoreData";
    case appoggio::kTestoLungo: return " Valorememo";
    default: return "";
  }
}

std::string LetteraleValore(const util::Value& valore, int tipo) {
  switch (tipo) {
    case appoggio::kNumero: return util::SqlLiteral(valore, 5);
    case appoggio::kData: return util::SqlLiteral(DataOpzionale(valore), 7);
    case appoggio::kTesto:
    case appoggio::kTestoLungo: return util::SqlLiteral(valore, 8);
    default: return "";
  }
}

}  // namespace

int CancellaAppoggio(Contesto& ctx, const std::string& utente, const std::string& programma) {
  ui::Puntatore p(ctx.op);
  try {
    ctx.db.Execute(ctx.conn, "DELETE FROM AppoggioTemp WHERE Utente = " + util::SqlLiteral(utente, 8) +
                                 " AND IdProgramma = " + util::SqlLiteral(programma, 8));
    return 0;
  } catch (const util::RuntimeError& e) {
    ui::MsgErrfrm(ctx.op, e);
    return 1;
  }
}

int ScriviAppoggio(Contesto& ctx, const std::string& utente, const std::string& programma, const std::string& chiave,
                   const util::Value& valore, int tipo) {
  try {
    ctx.db.Execute(ctx.conn, "INSERT INTO AppoggioTemp(Utente,IdProgramma,IdCampo" + ColonnaScrittura(tipo) +
                                 " VALUES (" + util::SqlLiteral(utente, 8) + "," + util::SqlLiteral(programma, 8) +
                                 "," + util::SqlLiteral(chiave, 8) + "," + LetteraleValore(valore, tipo) + ")");
    return 0;
  } catch (const util::RuntimeError&) {
    return 1;
  } catch (const std::exception&) {
    // a value that does not convert to the column's type
    return 1;
  }
}

util::Value LeggiAppoggio(Contesto& ctx, const std::string& utente, const std::string& programma,
                          const std::string& chiave, int tipo) {
  util::Value risultato(appoggio::kMancante);
  db::DbCursor cursor;
  const std::string key = cursor.Open(
      ctx.db, ctx.conn, "",
      "SELECT " + ColonnaLettura(tipo) +
          " AS Restituisci FROM AppoggioTemp WHERE Utente = " + util::SqlLiteral(utente, 8) +
          " AND IdProgramma = " + util::SqlLiteral(programma, 8) + " AND IdCampo = " + util::SqlLiteral(chiave, 8),
      false, db::kSnapshot);
  if (!cursor.IsEmpty(key)) {
    for (cursor.MoveFirst(key); !cursor.Eof(key); cursor.MoveNext(key)) risultato = cursor.GetField(key, "Restituisci");
  }
  cursor.Close(key);
  return risultato;
}

}  // namespace compensato
