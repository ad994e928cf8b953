#include "tests/src/startup/Banco.h"

#include <cstdlib>

#include "src/startup/Avvio.h"

namespace testsupport {

Banco::Banco(Engine engine) : azienda(engine) {
  char tmpl[] = "/tmp/avvio.XXXXXX";
  dir = ::mkdtemp(tmpl);
  ini = dir / "torvel.ini";
  Scrivi(ini, "[Parametri Generali]\nOrdIniDBase=db.ini\n");
  Scrivi(dir / "db.ini", "[Risoluzione Video]\nGenerale=1\n");
  // The installation file and standard folder of the test, not the machine's.
  ::setenv("COMPENSATO_SYSCONFDIR", (dir / "etc").c_str(), 1);
  ::setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
  host.iniFile = ini.string();
  host.parametri["NomeDBAzie"] = azienda.name();
  host.parametri["VersMenu"] = "1.07";
  host.valoriProgramma["PrepProcCorr"] = "PREP1";
  ctx = std::make_unique<compensato::Contesto>(host, executor, "", op);
  p = std::make_unique<startup::Programma>(*ctx, pf);
  p->cartellaProgramma = (dir / "bin").string();
}

Banco::~Banco() {
  p.reset();
  std::error_code ec;
  std::filesystem::remove_all(dir, ec);
}

void Banco::Scrivi(const std::filesystem::path& file, const std::string& testo) {
  std::filesystem::create_directories(file.parent_path());
  std::ofstream(file) << testo;
}

void Banco::Avvia(const std::string& riga) {
  p->rigaComando = riga;
  startup::Main(*p);
  pf.FineEvento();
}

FakeSchermo* Banco::Schermo(const std::string& nome) {
  const int16_t i = p->CercaForm(nome);
  return i < 0 ? nullptr : static_cast<FakeSchermo*>(p->Form(i));
}

}  // namespace testsupport
