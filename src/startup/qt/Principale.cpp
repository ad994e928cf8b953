#include "src/startup/qt/Principale.h"

#include <QApplication>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <csignal>
#include <cstdlib>
#include <filesystem>

#include "components/db/DbExecutor.h"
#include "components/host/SocketMenuHost.h"
#include "components/util/CommandLine.h"
#include "src/data/Contesto.h"
#include "src/recovery/qt/FrmRipriSal.h"
#include "src/selection/qt/FrmSaldaSelezioni.h"
#include "src/startup/Avvio.h"
#include "src/startup/Programma.h"
#include "src/startup/Schermi.h"
#include "src/startup/qt/QtPiattaforma.h"
#include "src/ui/qt/QtOperatore.h"

namespace startup {

int EseguiProgramma(int argc, char** argv, const std::function<void(Programma&)>& primaDellAvvio) {
  std::signal(SIGPIPE, SIG_IGN);
  QApplication app(argc, argv);
  app.setApplicationName("Compensato");
  app.setQuitOnLastWindowClosed(false);

  host::SocketMenuHost menu;
  db::DbExecutor executor;
  ui::QtOperatore op("Compensato");
  compensato::Contesto ctx(menu, executor, "", op);
  startup::QtPiattaforma pf(op, &menu);
  startup::Programma programma(ctx, pf);
  pf.Collega(programma);
  programma.rigaComando = util::JoinCommandLine(std::vector<std::string>(argv + 1, argv + argc));
  std::error_code ec;
  programma.cartellaProgramma = std::filesystem::canonical("/proc/self/exe", ec).parent_path().string();
  pf.RegistraSchermo(startup::kFormSelezione,
                     [](startup::Programma& p) { return std::make_unique<selection::FrmSaldaSelezioni>(p); });
  pf.RegistraSchermo(startup::kFormRipristino,
                     [](startup::Programma& p) { return std::make_unique<recovery::frmRipriSal>(p); });

  // Startup runs as the first event, so that its messages and the host's
  // commands already go through the event loop.
  QTimer::singleShot(0, &app, [&programma, &primaDellAvvio] {
    if (primaDellAvvio) primaDellAvvio(programma);
    startup::Main(programma);
  });

  // scripts/demo on a machine without a display: a picture of the screen
  // once the first window is up.
  if (const char* foto = std::getenv("COMPENSATO_SCREENSHOT"); foto && *foto) {
    const QString file = QString::fromLocal8Bit(foto);
    QTimer::singleShot(2500, &app, [file] {
      if (QScreen* s = QGuiApplication::primaryScreen()) s->grabWindow(0).save(file, "PNG");
    });
  }
  return app.exec();
}

}  // namespace startup
