// The program's event loop watching a real host link: a host that dies while
// the program sits idle is noticed by the 20 ms timer, not at the next call.
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QApplication>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "components/db/DbExecutor.h"
#include "components/host/SocketMenuHost.h"
#include "src/data/Contesto.h"
#include "src/startup/Avvio.h"
#include "src/startup/Chiusura.h"
#include "src/startup/Programma.h"
#include "src/startup/qt/QtPiattaforma.h"
#include "src/ui/qt/QtOperatore.h"
#include "tests/src/startup/FakePiattaforma.h"
#include "tests/support/AppQt.h"
#include "tests/support/FakeOperatore.h"

namespace {

using host::wire::json;

TEST(Sorveglianza, AHostKilledWhileTheProgramIsIdleIsNoticedWithinASecond) {
  testsupport::AppQt();
  char tmpl[] = "/tmp/sorveglia.XXXXXX";
  const std::string dir = ::mkdtemp(tmpl);
  ::setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
  host::wire::PreparaCartellaSocket();
  const int ascolto = host::wire::ApriSocketInAscolto(host::wire::PercorsoSocket("Q1"));
  std::atomic<bool> morto{false};
  std::thread menu([&] {
    pollfd p{ascolto, POLLIN, 0};
    if (::poll(&p, 1, 5000) != 1) return;
    host::wire::Canale ch(::accept(ascolto, nullptr, nullptr));
    while (ch.aperto() && ch.Attendi(2000)) {
      const auto m = ch.Prossimo();
      if (!m) continue;
      ch.Invia({{"type", "result"}, {"id", (*m)["id"]}, {"result", 0}});
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    morto = true;  // and its socket with it
  });

  host::SocketMenuHost::Attese attese;
  attese.connessioneMs = 1000;
  attese.chiamataMs = 1000;
  host::SocketMenuHost link(attese);
  testsupport::FakeOperatore op;
  ui::QtOperatore qop("Compensato");
  db::DbExecutor executor;
  compensato::Contesto ctx(link, executor, "", op);
  startup::QtPiattaforma pf(qop, &link);
  testsupport::FakePiattaforma schermi;
  startup::Programma p(ctx, pf);
  pf.Collega(p);
  startup::CreaFormPrincipale(p);
  p.Carica(std::make_unique<testsupport::FakeSchermo>(schermi, "FrmSaldaSelezioni", "Gestione Compensato"));
  link.Attach("Q1", "", "");
  menu.join();
  ASSERT_TRUE(morto);

  const auto t0 = std::chrono::steady_clock::now();
  while (!op.Mostrato("non \xC3\xA8 in esecuzione") && std::chrono::steady_clock::now() - t0 < std::chrono::seconds(3))
    QApplication::processEvents(QEventLoop::AllEvents, 10);
  EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(1)) << op.Elenco();
  EXPECT_TRUE(op.Mostrato(startup::kMenuAssente)) << op.Elenco();
  while (!p.terminato && std::chrono::steady_clock::now() - t0 < std::chrono::seconds(3))
    QApplication::processEvents(QEventLoop::AllEvents, 10);
  EXPECT_TRUE(p.terminato) << "the program closes";
  ::close(ascolto);
  std::filesystem::remove_all(dir);
}

}  // namespace
