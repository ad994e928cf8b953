#include "components/lookup/qt/ModelloRighe.h"

#include <cctype>

namespace lookup {
namespace {

// Amounts and counts line up on the right, as in every grid of the suite.
bool Numero(const std::string& s) {
  if (s.empty()) return false;
  bool cifra = false;
  for (char c : s) {
    if (std::isdigit(static_cast<unsigned char>(c)))
      cifra = true;
    else if (c != ',' && c != '.' && c != '-')
      return false;
  }
  return cifra;
}

}  // namespace

int ModelloRighe::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(r_.Righe().size());
}

int ModelloRighe::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(r_.Colonne().size());
}

QVariant ModelloRighe::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const Riga& riga = r_.Righe().at(static_cast<size_t>(index.row()));
  const size_t c = static_cast<size_t>(index.column());
  if (c >= riga.celle.size()) return {};
  if (role == Qt::DisplayRole) return QString::fromStdString(riga.celle[c]);
  // The code column (the first) stays on the left even when it is all digits.
  if (role == Qt::TextAlignmentRole && c > 0 && Numero(riga.celle[c]))
    return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
  return {};
}

QVariant ModelloRighe::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole || orientation != Qt::Horizontal) return {};
  const auto& colonne = r_.Colonne();
  if (section < 0 || static_cast<size_t>(section) >= colonne.size()) return {};
  return QString::fromStdString(colonne[static_cast<size_t>(section)].titolo);
}

}  // namespace lookup
