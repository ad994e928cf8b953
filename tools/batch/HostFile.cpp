#include "tools/batch/HostFile.h"

#include <unistd.h>

#include <chrono>

#include "components/host/FileParametri.h"

namespace batch {

HostFile::HostFile(std::filesystem::path file, std::string operatore) : file_(std::move(file)) {
  operatore_ = operatore.empty() ? Leggi("OperatorName", "") : operatore;
  const auto adesso = std::chrono::system_clock::now().time_since_epoch();
  identita_ = operatore_ + "~B" + std::to_string(getpid()) + "." +
              std::to_string(std::chrono::duration_cast<std::chrono::milliseconds>(adesso).count() % 100000000);
}

std::string HostFile::Leggi(const std::string& chiave, const std::string& difetto) {
  return host::ValoreHost(file_, chiave, difetto);
}

std::string HostFile::ProgramId() { return Leggi("ProgramId", "Compensa"); }

std::string HostFile::ProgramValue(const std::string&, const std::string&, const std::optional<host::HostValue>&) {
  return "";
}

util::Date HostFile::WorkDate() {
  const std::string d = Leggi("WorkDate", "");
  if (d.empty()) return util::Date::Today();
  return util::Value(d).toDate();
}

std::string HostFile::IniFile() { return Leggi("IniFile", ""); }

util::Value HostFile::GetParameter(const std::string& key) {
  return util::Value(host::ParametroDaFile(file_, key, operatore_));
}

}  // namespace batch
