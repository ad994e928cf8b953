#pragma once

#include <QAbstractTableModel>
#include <vector>

#include "components/lookup/Ricerca.h"

namespace lookup {

// The rows of a search as the window's grid shows them; it reads them from
// the search, so a new search is a reset, not a copy.
class ModelloRighe final : public QAbstractTableModel {
  Q_OBJECT
 public:
  explicit ModelloRighe(const Ricerca& ricerca, QObject* parent = nullptr) : QAbstractTableModel(parent), r_(ricerca) {}

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  void Ricaricato() {
    beginResetModel();
    endResetModel();
  }

 private:
  const Ricerca& r_;
};

}  // namespace lookup
