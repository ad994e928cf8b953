#include "src/ui/Suono.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "components/util/Value.h"

namespace ui {
namespace {

void Put32(std::vector<uint8_t>& out, double value) {
  for (int k = 0; k < 4; ++k)
    out.push_back(static_cast<uint8_t>(static_cast<int64_t>(std::trunc(value / std::pow(256.0, k))) & 255));
}

void Put16(std::vector<uint8_t>& out, int value) {
  out.push_back(static_cast<uint8_t>(value & 255));
  out.push_back(static_cast<uint8_t>((value >> 8) & 255));
}

void PutText(std::vector<uint8_t>& out, const char* text) {
  for (const char* p = text; *p; ++p) out.push_back(static_cast<uint8_t>(*p));
}

std::string Trim(const std::string& s) {
  const auto b = s.find_first_not_of(" \t");
  if (b == std::string::npos) return "";
  return s.substr(b, s.find_last_not_of(" \t") - b + 1);
}

}  // namespace

Segnale InterpretaBeepCome(const std::string& beepCome) {
  Segnale s;
  if (Trim(beepCome).empty()) return s;
  const auto semi = beepCome.find(';');
  const std::string a = Trim(beepCome.substr(0, semi));
  std::string b = semi == std::string::npos ? "" : Trim(beepCome.substr(semi + 1));
  double freq = 0;
  if (!util::ParseItalianNumber(a, freq)) {
    s.tipo = Segnale::Tipo::File;
    s.file = a;
    return s;
  }
  if (b.empty()) b = "20";
  double dur = 0;
  util::ParseItalianNumber(b, dur);
  s.frequenza = freq;
  s.durata = static_cast<int32_t>(std::lround(dur));
  s.tipo = freq > 0 ? Segnale::Tipo::Tono : Segnale::Tipo::ToneGenerato;
  return s;
}

std::vector<uint8_t> CreaTono(float frequenza, int32_t durata) {
  const auto n = static_cast<int64_t>(std::lround(static_cast<double>(durata) * 11025.0 / 1000.0));
  std::vector<uint8_t> out;
  out.reserve(static_cast<size_t>(44 + std::max<int64_t>(n, 0)));
  PutText(out, "RIFF");
  Put32(out, static_cast<double>(n + 36));
  PutText(out, "WAVEfmt ");
  Put32(out, 16);
  Put16(out, 1);
  Put16(out, 1);
  Put32(out, 11025);
  Put32(out, 11025);
  Put16(out, 1);
  Put16(out, 8);
  PutText(out, "data");
  Put32(out, static_cast<double>(n));
  for (int64_t k = 0; k < n; ++k) {
    const double sample =
        std::trunc(128.0 * (1.0 + std::sin(2.0 * std::numbers::pi * frequenza * static_cast<double>(k) / 11025.0)));
    out.push_back(static_cast<uint8_t>(std::clamp(sample, 0.0, 255.0)));
  }
  return out;
}

}  // namespace ui
