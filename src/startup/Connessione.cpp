#include "src/startup/Connessione.h"

#include "components/util/Error.h"
#include "components/util/Text.h"
#include "src/startup/Programma.h"
#include "src/ui/Errori.h"

namespace startup {
namespace {

bool IniziaOdbc(const std::string& nome) {
  return nome.size() >= 5 && util::EqualsIgnoreCase(nome.substr(0, 5), "ODBC;");
}

bool FiniscePerDsn(const std::string& nome) {
  return nome.size() >= 4 && util::EqualsIgnoreCase(nome.substr(nome.size() - 4), ".dsn");
}

void LoginDaHost(Programma& p, db::DbExecutor& executor) {
  executor.SetSetting("DbSqlPubUID", util::Value(p.ctx.host.GetParameter("SqlLogin").toText()));
  executor.SetSetting("DbSqlPubPWD", util::Value(p.ctx.host.GetParameter("SqlPwd").toText()));
}

}  // namespace

std::string ApriDatabase(Programma& p, db::DbExecutor& executor, const std::string& nome, const std::string& password,
                         const std::string& connect) {
  const bool sorgenteOdbc = db::ENomeOdbc(nome) && !IniziaOdbc(nome);
  if (sorgenteOdbc) {
    if (executor.GetSetting("DbSqlPubPWD").toText().empty()) {
      if (p.ctx.host.GetParameter("SqlLogin").toText().empty()) p.ctx.host.GetParameter("ChiediPwdSql");
      LoginDaHost(p, executor);
    }
  } else {
    executor.SetSetting("DbAccPWD", util::Value(password));
  }
  const std::optional<std::string> extra =
      util::Trim(connect).empty() ? std::nullopt : std::optional<std::string>(connect);
  for (;;) {
    try {
      return executor.OpenDatabase(nome, 0, false, false, extra);
    } catch (const util::RuntimeError& e) {
      if (e.number() == util::err::kLoginFailed && sorgenteOdbc) {
        ui::RichiestaMsg r;
        r.psLabel = "Utente o password non validi per SQL";
        r.psCom1 = "&Riprovare";
        r.pvCom2 = "&Annulla";
        r.piComDefault = 1;
        if (p.ctx.op.msgCom(r) != 1) return "";
        p.ctx.host.GetParameter("ChiediPwdSql");
        LoginDaHost(p, executor);
        continue;
      }
      if (e.number() == util::err::kNotADatabase) throw;
      p.pf.ChiudiSplash();
      if (e.number() == util::err::kWrongPassword) {
        ui::Avviso(p.ctx.op, "Password non valida per questo database");
      } else {
        ui::MsgErrfrm(p.ctx.op, e);
      }
      return "Err: " + std::to_string(e.number());
    }
  }
}

AperturaDiretta ParametriDiretti(const std::string& nome, const std::string& utente, const std::string& password) {
  std::string credenziali;
  if (!utente.empty()) {
    credenziali = "UID=" + utente;
    if (!password.empty()) credenziali += ";PWD=" + password;
  }
  if (IniziaOdbc(nome)) return {"", nome};
  if (FiniscePerDsn(nome)) return {"", "ODBC;FIleDSN=" + nome + ";" + credenziali};
  if (nome.find('.') != std::string::npos) return {nome, ""};
  return {"", "ODBC;DSN=" + nome + ";" + credenziali};
}

std::string ApriDatabaseDiretto(db::DbExecutor& executor, const std::string& nome, const std::string& utente,
                                const std::string& password, const std::string& passwordFile) {
  const AperturaDiretta a = ParametriDiretti(nome, utente, password);
  if (!a.connect.empty()) return executor.OpenDatabase(a.connect);
  // A protected file opened by its path alone would be refused: it takes the
  // password the main connection opened it with.
  executor.SetSetting("DbAccPWD", util::Value(passwordFile));
  return executor.OpenDatabase(a.database);
}

}  // namespace startup
