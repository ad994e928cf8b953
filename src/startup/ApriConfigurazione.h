#pragma once

#include <filesystem>
#include <string>

namespace startup {

struct Programma;

// The main configuration file when the host gives none: switch I, the
// installation file's "IniPrincipale", the standard directory, the program's
// "main" folder, the current folder, the program's folder. Empty when none of
// them names an existing file.
std::string CercaFileIni(const Programma& p, const std::string& nomeFile,
                         const std::filesystem::path& fileInstallazione);

// The installation file: "TorvelInst.ini" in the system configuration folder.
std::filesystem::path FileInstallazione();

// Finds the configuration, lets the operator choose the database
// configuration and opens the company database. 0 on success, -1 when the
// program must stop (the operator was told why).
int ApriConfigurazione(Programma& p, const std::string& nomeFile, const std::filesystem::path& fileInstallazione);

// "Versione ..." for the connection splash, from the host's suite version.
std::string TestoVersione(Programma& p);

}  // namespace startup
