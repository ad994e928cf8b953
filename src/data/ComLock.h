#pragma once

#include <cstdint>
#include <string>

#include "components/db/DbCursor.h"
#include "src/data/Contesto.h"

namespace compensato {

// The arguments of PrendiLock, in the order the lock service has always taken
// them; the in/out ones are written back.
struct ArgomentiLock {
  std::string stato;                 // 1: Stato of a new lock, or the new state
  std::string tipo;                  // 2: lock kind (Tipo)
  int16_t anno = 0;                  // 3
  int32_t numReg = 0;                // 4
  bool acquisisci = true;            // 5 in/out: false = change the state of the held lock
  bool mostraMessaggi = false;       // 6
  std::string cursore = "Standard";  // 7 in/out: "Standard" or the caller's key
  std::string descrizione;           // 8: the locked object, for messages
  std::string utente;                // 9 out: holder of an existing lock
  std::string gestione;              // 10 in/out: Gestione of a new lock; of an existing one
  std::string varie;                 // 11 out
  bool soloVerifica = false;         // 12: the lock must already exist
  std::string padreTipo;             // 13
  int16_t padreAnno = 0;             // 14
  int32_t padreNumReg = 0;           // 15
  int16_t accettaPropri = 0;         // 16: > 0 accepts a lock held by the same user
  std::string statoEsistente;        // 17 out: Stato of an existing lock
};

// Results of PrendiLock.
namespace lock {
inline constexpr int kPreso = 0;        // inserted; exists (check only); state changed
inline constexpr int kOccupato = 1;     // held by another user (or by the same without 16)
inline constexpr int kCollisione = 2;   // inserted at the same moment by someone else
inline constexpr int kErrore = 3;       // any other database error
inline constexpr int kInesistente = 4;  // check only: no lock row
inline constexpr int kProprio = 5;      // held by the same user and accepted
}  // namespace lock

// Takes, checks or changes a record lock in LockGest. Handles every error
// itself and reports it through the result.
int PrendiLock(Contesto& ctx, ArgomentiLock& a);

// Deletes the lock row the lock cursor stands on and, with chiudi, closes the
// cursor and empties its key. Ignores every error. An empty key means the
// default lock cursor.
void RilasciaLock(Contesto& ctx, std::string* chiave = nullptr, bool chiudi = true);

// The utility that clears interrupted work of a Gestione code, for messages.
std::string NomeUtility(const std::string& gestione);

// The highest number of the field plus one, per year or, with era numbering,
// per era of years ("Coge.AnnoAzzera"). Errors reach the caller.
int32_t ProssimoNumero(Contesto& ctx, int16_t anno, const std::string& tabella, const std::string& campo,
                       bool azzeraEra);

// Stores the row pending in the result set (added or copied), moving the
// number field up by one on a duplicate key, at most ten times; the number
// finally stored is written to numero. The eleventh failure, and any other
// error, is raised again with the source "UpdateNoKeyDoppia".
void UpdateNoKeyDoppia(db::DbCursor& cursor, const std::string& key, const std::string& campo, int32_t& numero);

}  // namespace compensato
