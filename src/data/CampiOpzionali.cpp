#include "src/data/CampiOpzionali.h"

namespace compensato {

util::Value DataOpzionale(const util::Value& value) { return value.toText() == "01/01/100" ? util::Value("") : value; }

util::Value NumeroOpzionale(const util::Value& value) {
  return value.isNumeric() && value.toDouble() == 0 ? util::Value("") : value;
}

void ScriviData(db::DbCursor& cursor, const std::string& key, const std::string& column, const util::Value& value) {
  cursor.SetField(key, column, DataOpzionale(value));
}

void ScriviNumero(db::DbCursor& cursor, const std::string& key, const std::string& column, const util::Value& value) {
  cursor.SetField(key, column, NumeroOpzionale(value));
}

}  // namespace compensato
