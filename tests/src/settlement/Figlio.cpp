// A settlement run in a process of its own, for the crash and concurrency
// tests: one operator's program on the test's company database.
//
//   settlement_child griglia <database> <identity>
//       an interactive run over every customer: the grid closes, pays in part,
//       overpays or leaves untouched each installment by its number
//   settlement_child auto <database> <identity> <account from> <account to>
//       an automatic run over a range of customers, no maximum
//   settlement_child verifica <database> <identity>
//       the automatic check of a new start of the program
//
// Prints the statements it ran ("statements N") when it ends normally.
#include <iostream>
#include <string>

#include "components/db/DbExecutor.h"
#include "components/db/KillHook.h"
#include "src/recovery/Ripristino.h"
#include "src/selection/Elabora.h"
#include "tests/src/settlement/AziendaProva.h"

namespace {

compensato::SelezioneRun Selezione(bool automatica) { return testsupport::SelezioneProva(automatica, 3, 1e12); }

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::cerr << "uso: settlement_child griglia|auto|verifica <database> <identita> [da a]\n";
    return 2;
  }
  const std::string modo = argv[1], nome = argv[2], identita = argv[3];
  try {
    testsupport::FakeHost host;
    host.operatore = identita.substr(0, identita.find('~'));
    host.identita = identita;
    host.parametri["CoGe.IvaCassaAttiva"] = util::Value("N");
    testsupport::FakeOperatore op;
    db::DbExecutor db;
    const std::string conn = db.OpenDatabase(nome);
    compensato::Contesto ctx(host, db, conn, op);
    compensato::LeggiIdentita(ctx);

    int esito = 0;
    if (modo == "griglia") {
      testsupport::GrigliaProva griglia;
      for (int32_t n = 1; n <= 200; ++n) {
        if (n % 5 == 0) continue;
        const double dovuto = 100 + n;  // the fixture's amounts
        const double segno = n % 11 == 0 ? -1 : 1;
        if (n % 3 == 0)
          griglia.scelte.push_back({n, "A", segno * dovuto / 2});
        else if (n % 7 == 0)
          griglia.scelte.push_back({n, "C", segno * (dovuto + 10)});
        else
          griglia.scelte.push_back({n, "C", segno * dovuto});
      }
      esito = compensato::Elabora(ctx, Selezione(false), &griglia);
      if (griglia.esitoElab != 0) esito = 1;
    } else if (modo == "auto" && argc >= 6) {
      compensato::SelezioneRun s = Selezione(true);
      s.contoDa = argv[4];
      s.contoA = argv[5];
      esito = compensato::Elabora(ctx, s, nullptr);
    } else if (modo == "verifica") {
      esito = compensato::Controllo_Elaborazione(ctx);
    } else {
      std::cerr << "modo sconosciuto: " << modo << "\n";
      return 2;
    }
    for (const auto& m : op.messaggi)
      if (m.testo.find("Errore") != std::string::npos) {
        std::cerr << m.testo << "\n";
        esito = 1;
      }
    std::cout << "statements " << db::StatementCount() << "\n";
    return esito;
  } catch (const std::exception& e) {
    std::cerr << "settlement_child: " << e.what() << "\n";
    return 1;
  }
}
