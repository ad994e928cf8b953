#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "components/util/Date.h"
#include "src/ui/Operatore.h"

namespace ui {

// Colours as the screens store them: 0xBBGGRR, or a system colour.
inline constexpr int64_t kColoreSistemaFinestra = 0x80000005;
inline constexpr int64_t kColoreSistemaPulsante = 0x8000000F;

// The field colours of the company (focus, no focus, error, normal).
struct ColoriCampi {
  int64_t fuoco = 0xFFFF80;
  int64_t noFuoco = kColoreSistemaFinestra;
  int64_t errore = 255;
  int64_t normale = kColoreSistemaFinestra;
};

// A field as the focus and date helpers see it.
class Campo {
 public:
  virtual ~Campo() = default;
  virtual std::string Nome() const = 0;  // the field array's name ("Txt")
  virtual int64_t Sfondo() const = 0;
  virtual void ImpostaSfondo(int64_t colore) = 0;
  virtual std::string Testo() const = 0;
  virtual void ImpostaTesto(const std::string& t) = 0;
  virtual void DaiFuoco() = 0;
};

// PrendeFuoco: the field entered shows the focus colour; any other `txt`
// field of the screen still showing it goes back to the no-focus colour. A
// red field stays red unless `forza`.
void PrendeFuoco(Campo& campo, const std::vector<Campo*>& campiSchermo, const ColoriCampi& colori, bool forza);
// PerdeFuoco: the field left shows the no-focus colour; a red one stays red unless `forza`.
void PerdeFuoco(Campo& campo, const ColoriCampi& colori, bool forza);

// Marking modes of ControllaData.
inline constexpr int kSegnaColore = 1;
inline constexpr int kSegnaFuoco = 2;

struct VerificaData {
  int opzione = 0;                      // util::kDataFacoltativa / kDataObbligatoria
  int modo = kSegnaColore;              // 1 colour, 2 focus, 3 both
  std::optional<int64_t> coloreValido;  // the normal colour when omitted
  bool mostra = false;                  // show the refusal to the operator
};

// ControllaData: checks and completes a date field and refuses a date below
// "DataMinima". Returns the status of util::ValidateDate, or
// util::kDataRifiutata for a date too low; `messaggio` gets the reason.
int ControllaData(Campo& campo, const VerificaData& v, const util::Date& dataLavoro, const std::string& dataMinima,
                  const ColoriCampi& colori, Operatore& op, std::string* messaggio = nullptr);

}  // namespace ui
