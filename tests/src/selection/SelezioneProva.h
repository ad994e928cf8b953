#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "src/selection/ModelloSelezioni.h"
#include "tests/src/selection/AziendaSelezione.h"

namespace testsupport {

// The selection model over the fixture company of PreparaSelezione.
class Selezione : public ::testing::TestWithParam<Engine> {
 protected:
  void SetUp() override {
    // Again for a second company in one test: what refers to the old context goes first.
    m_.reset();
    aiuti_.reset();
    az_ = std::make_unique<testsupport::AziendaProva>(GetParam());
    PreparaSelezione(*az_);
    auto f = std::make_unique<FinestraRegistra>();
    f->tasti = &finestre_;
    aiuti_ = AiutiProva(az_->ctx(), std::move(f));
  }

  void Sql(const std::string& s) { az_->ctx().db.Execute(az_->ctx().conn, s); }

  compensato::ModelloSelezioni& Nuovo() {
    m_ = std::make_unique<compensato::ModelloSelezioni>(az_->ctx(), *aiuti_);
    m_->Inizializza_Form();
    az_->op.messaggi.clear();
    return *m_;
  }

  // As the operator types: enter the field, replace its text, leave it.
  static void Digita(compensato::ModelloSelezioni& m, int i, const std::string& testo) {
    m.Entra(i);
    m.Txt(i).ImpostaTesto(testo);
    m.Esci(i);
  }

  std::vector<std::string> Messaggi() const {
    std::vector<std::string> v;
    for (const auto& x : az_->op.messaggi) v.push_back(x.testo);
    return v;
  }

  std::unique_ptr<testsupport::AziendaProva> az_;
  std::unique_ptr<company::scAziUtilPrg> aiuti_;
  std::unique_ptr<compensato::ModelloSelezioni> m_;
  std::vector<int> finestre_;
};

}  // namespace testsupport
