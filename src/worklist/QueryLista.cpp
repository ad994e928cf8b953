#include "src/worklist/QueryLista.h"

#include "components/util/SqlLiteral.h"

namespace compensato {

std::string QueryListaScadenze(const std::string& t, const std::string& utente, int ordinamento) {
  const std::string positivo = "(" + t + ".Tipo = '3' AND " + t + ".EntrataUscita = 'E') OR (" + t + ".Tipo = '2' " +
                               " AND " + t + ".EntrataUscita = 'U')";
  std::string sql = "SELECT ";
  sql += t + ".Prefisso";
  sql += "," + t + ".NumDoc";
  sql += "," + t + ".DataDoc";
  sql += ",PianoConti.Descrizione";
  sql += "," + t + ".GruppoScad & '-' & " + t + ".MastroScad & '-' & " + t + ".ContoScad & ' ' AS Conto";
  sql += "," + t + ".DataScad";
  sql += "," + t + ".PagTipo";
  sql += ",IIF(" + positivo + "," + t + ".ImportoScad,-" + t + ".ImportoScad) AS ImportoScad";
  sql += "," + t + ".ImpPagInc";
  sql += ",IIF(" + t + ".ImpPagInc = 0 ,null" + ",(IIF((" + t + ".Tipo = '3' AND " + t + ".EntrataUscita = 'E') OR (" +
         t + ".Tipo = '2' " + " AND " + t + ".EntrataUscita = 'U')" + "," + t + ".ImportoScad,-" + t + ".ImportoScad)" +
         " - " + t + ".ImpPagInc)) AS Pagato";
  sql += "," + t + ".StatoScad";
  sql += "," + t + ".Anno";
  sql += "," + t + ".NumProg";
  sql += "," + t + ".EntrataUscita";
  sql += "," + t + ".Tipo";
  sql += "," + t + ".GruppoScad ";
  sql += "," + t + ".MastroScad";
  sql += "," + t + ".ContoScad";
  sql += "," + t + ".ImportoScad";
  sql += "," + t + ".PreProt";
  sql += "," + t + ".NumProt";
  sql += "," + t + ".DataProt";
  sql += " FROM ((" + t + " LEFT JOIN PagTipi" + " ON PagTipi.PagTipo = " + t + ".PagTipo)" + " INNER JOIN PianoConti" +
         " ON " + t + ".ContoScad = PianoConti.Conto" + " AND " + t + ".MastroScad = PianoConti.Mastro" + " AND " + t +
         ".GruppoScad = PianoConti.Gruppo)" + " WHERE " + t + ".Utente = " + util::SqlLiteral(utente, 8);
  if (ordinamento == 1)
    sql += " ORDER BY PianoConti.Descrizione," + t + ".DataDoc" + "," + t + ".Prefisso," + t + ".NumDoc," + t + ".Rata";
  else if (ordinamento == 2)
    sql += " ORDER BY " + t + ".GruppoScad," + t + ".MastroScad" + "," + t + ".ContoScad," + t + ".DataDoc," + t +
           ".Prefisso" + "," + t + ".NumDoc," + t + ".Rata";
  else
    sql += " ORDER BY " + t + ".DataDoc," + t + ".Prefisso" + "," + t + ".NumDoc," + t + ".Rata," + t + ".GruppoScad" +
           "," + t + ".MastroScad," + t + ".ContoScad";
  return sql;
}

}  // namespace compensato
