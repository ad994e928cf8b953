#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ui {

// What the signal sound configured under "BeepCome" asks for.
struct Segnale {
  enum class Tipo { Beep, Tono, ToneGenerato, File };
  Tipo tipo = Tipo::Beep;
  double frequenza = 0;  // Hz, Tono and ToneGenerato
  int32_t durata = 0;    // ms, Tono and ToneGenerato
  std::string file;      // File
};

// Reads a "BeepCome" value: empty -> the system beep; "A;B" with A a positive
// number -> a tone of A Hz for B ms (B defaults to 20); A zero or negative -> a
// generated tone (CreaTono) of frequency A for B ms; a text that is not a
// number -> a sound file played without waiting.
Segnale InterpretaBeepCome(const std::string& beepCome);

// The bytes of an 8-bit mono WAVE sound at 11025 Hz: a sine of the frequency
// for the duration. A sample whose sine is exactly 1 would be 256; it is
// clamped to 255 so that it fits its byte.
std::vector<uint8_t> CreaTono(float frequenza, int32_t durata);

}  // namespace ui
