#pragma once

#include <filesystem>
#include <string>

namespace host {

// The host's answer for a personal parameter that does not exist.
inline constexpr const char* kParametroMancante = "\xC2\xA7\xC3\xA7~$!^";  // "§ç~$!^"

// The parameters file of the reference menu host, as the host and the batch
// front read it: [Host] holds the host's own values, [Azienda] the company
// parameters, [Personali.<operator>] the personal ones as "<section>.<name>".

// A value of [Host], or the default.
std::string ValoreHost(const std::filesystem::path& file, const std::string& key, const std::string& def);

// The answer to GetParameter: a personal key ("Personal." + section + ".§" +
// name) from the operator's section, kParametroMancante when it is not there;
// any other key from [Azienda], "" when it is not there.
std::string ParametroDaFile(const std::filesystem::path& file, const std::string& key, const std::string& operatore);

}  // namespace host
