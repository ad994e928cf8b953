#include "components/db/DbCursor.h"
#include "src/company/Valute.h"

namespace company {

TabelleArrotondamento::Caricatore CaricatoreDaDatabase(db::DbExecutor& executor, std::string conn) {
  return [&executor, conn = std::move(conn)](const std::string& tabella) {
    db::DbCursor cursore;
    const std::string key =
        cursore.Open(executor, conn, "", "Select * from " + tabella + " Order By FinoA", false, db::kSnapshot);
    std::vector<FasciaArrotondamento> fasce;
    if (!cursore.IsEmpty(key)) {
      cursore.MoveFirst(key);
      while (!cursore.Eof(key)) {
        fasce.push_back({cursore.GetField(key, "FinoA").toDouble(), cursore.GetField(key, "ValArrot").toDouble(),
                         cursore.GetField(key, "TipoArrot").toText()});
        cursore.MoveNext(key);
      }
    }
    cursore.Close(key);
    return fasce;
  };
}

}  // namespace company
