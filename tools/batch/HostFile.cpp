#include "tools/batch/HostFile.h"

#include <unistd.h>

#include <chrono>

#include "components/util/Ini.h"

namespace batch {
namespace {
constexpr const char* kMancante = "\xC2\xA7\xC3\xA7~$!^";  // the host's answer for a missing personal key
constexpr const char* kPrefissoPersonale = "Personal.";
constexpr const char* kSeparatorePersonale = ".\xC2\xA7";  // ".§"
}  // namespace

HostFile::HostFile(std::filesystem::path file, std::string operatore) : file_(std::move(file)) {
  operatore_ = operatore.empty() ? Leggi("Host", "OperatorName", "") : operatore;
  const auto adesso = std::chrono::system_clock::now().time_since_epoch();
  identita_ = operatore_ + "~B" + std::to_string(getpid()) + "." +
              std::to_string(std::chrono::duration_cast<std::chrono::milliseconds>(adesso).count() % 100000000);
}

std::string HostFile::Leggi(const std::string& sezione, const std::string& chiave, const std::string& difetto) {
  std::string v;
  util::ReadIniKey(sezione, chiave, difetto, v, file_);
  return v;
}

std::string HostFile::ProgramId() { return Leggi("Host", "ProgramId", "Compensa"); }

std::string HostFile::ProgramValue(const std::string&, const std::string&,
                                   const std::optional<host::HostValue>&) {
  return "";
}

util::Date HostFile::WorkDate() {
  const std::string d = Leggi("Host", "WorkDate", "");
  if (d.empty()) return util::Date::Today();
  return util::Value(d).toDate();
}

std::string HostFile::IniFile() { return Leggi("Host", "IniFile", ""); }

util::Value HostFile::GetParameter(const std::string& key) {
  if (key.rfind(kPrefissoPersonale, 0) == 0) {
    const std::string resto = key.substr(std::string(kPrefissoPersonale).size());
    const size_t p = resto.find(kSeparatorePersonale);
    if (p == std::string::npos) return util::Value(kMancante);
    const std::string nome = resto.substr(0, p) + "." + resto.substr(p + std::string(kSeparatorePersonale).size());
    const std::string sezione = "Personali." + operatore_;
    if (!util::IniKeyExists(sezione, nome, file_)) return util::Value(kMancante);
    return util::Value(Leggi(sezione, nome, ""));
  }
  return util::Value(Leggi("Azienda", key, ""));
}

}  // namespace batch
