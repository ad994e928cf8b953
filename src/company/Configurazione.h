#pragma once

#include <filesystem>
#include <string>

namespace company {

// The program's two configuration files: the main one (its full path) and the
// database configuration chosen at startup (a file name, taken from the main
// file's folder when relative; empty before the choice).
struct FileConfigurazione {
  std::filesystem::path principale;
  std::string database;
};

// A configuration key: the database file's value when it has a non-empty one,
// else the main file's, else the default. Returns the length of the value
// found, 0 when the default was taken.
int LeggiChiaveIni(const FileConfigurazione& file, const std::string& sezione, const std::string& chiave,
                   const std::string& predefinito, std::string& valore);

}  // namespace company
