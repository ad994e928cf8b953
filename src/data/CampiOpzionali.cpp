#include "src/data/CampiOpzionali.h"

namespace compensato {

void ScriviData(db::DbCursor& cursor, const std::string& key, const std::string& column, const util::Value& value) {
  if (value.toText() == "01/01/100")
    cursor.SetField(key, column, util::Value(""));
  else
    cursor.SetField(key, column, value);
}

void ScriviNumero(db::DbCursor& cursor, const std::string& key, const std::string& column, const util::Value& value) {
  if (value.isNumeric() && value.toDouble() == 0)
    cursor.SetField(key, column, util::Value(""));
  else
    cursor.SetField(key, column, value);
}

}  // namespace compensato
