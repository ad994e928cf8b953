#pragma once

#include <filesystem>
#include <string>

#include "components/host/MenuHost.h"

namespace batch {

// The menu host's answers read straight from its parameters file, for runs
// with no host process: [Host] gives the operator, the working day and the
// program id, [Azienda] the company parameters, [Personali.<operator>] the
// personal ones as "<section>.<name>". The identity is the operator's name,
// "~" and a token of this process, as the host makes it.
class HostFile final : public host::MenuHost {
 public:
  explicit HostFile(std::filesystem::path file, std::string operatore = "");

  std::string ProgramId() override;
  void ShowMenu(const std::string&) override {}
  void Detach() override {}
  int Attach(const std::string&, const std::string&, const std::string&) override { return 0; }
  int ReturnTo(const std::string&, const std::string&, const std::string&) override { return 0; }
  std::string ProgramValue(const std::string& name, const std::string& scope,
                           const std::optional<host::HostValue>& value = std::nullopt) override;
  void RegisterWindow(const std::string&, const std::string&, const std::string&) override {}
  util::Date WorkDate() override;
  std::string IniFile() override;
  host::LaunchInfo GetLaunchInfo() override { return {}; }
  std::string OperatorName() override { return operatore_; }
  std::string UserIdentity() override { return identita_; }
  int SetActiveKey(const std::string&) override { return 0; }
  int ReleaseKey(const std::string&) override { return 0; }
  util::Value GetParameter(const std::string& key) override;
  // With no host, no other instance of the program can be known to run.
  int CountRunning(const std::string&, int) override { return 1; }
  int DeliverPending() override { return 0; }

 private:
  std::string Leggi(const std::string& chiave, const std::string& difetto);
  std::filesystem::path file_;
  std::string operatore_;
  std::string identita_;
};

}  // namespace batch
