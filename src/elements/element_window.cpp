#include "elements/element_window.h"

#include <QPushButton>

#include "shell/nedit.h"
#include "shell/widgets.h"

namespace kovaro {

TForm3::TForm3(ElementSet& elements, QPushButton* simulate) : elements_(elements), simulate_(simulate) {
  InitWindow(this, "TForm3", QStringLiteral("Element values"), 218, 299);
  struct Row {
    TNEdit*& field;
    const char* name;
    const char* label;
    Real value;
  };
  const Row rows[] = {
      {NEca, "NEca", "Ca (F)", 2.72E-8L},  {NEla, "NEla", "La (H)", 1.05E-5L},
      {NElb, "NElb", "Lb (H)", 0.0358L},   {NEcb, "NEcb", "Cb (F)", 7.86E-12L},
      {NEkab, "NEkab", "kab", 0.117L},     {NERla, "NERla", "RLa (Ohms)", 0},
      {NERlb, "NERlb", "RLb (Ohms)", 0},   {NErin, "NErin", "Rin (Ohms)", 0},
      {NErb, "NErb", "Rb (Ohms)", 573000},
  };
  int y = 8;
  for (const Row& row : rows) {
    MakeLabel(this, QString::fromLatin1(row.label), 8, y);
    row.field = MakeField(this, row.name, 88, y, 106, row.value);
    y += 24;
  }
  Bchange = MakeButton(this, "Bchange", QStringLiteral("Apply"), 88, y + 4, 106);
  connect(Bchange, &QPushButton::clicked, this, [this] { BchangeClick(); });
  // Tab order: the five designed values, Rb, Apply, then the three resistances.
  const QList<QWidget*> order{NEca, NEla, NElb, NEcb, NEkab, NErb, Bchange, NERla, NERlb, NErin};
  for (qsizetype i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
}

void TForm3::BchangeClick() {
  elements_.Ca = NEca->panel_real();
  elements_.La = NEla->panel_real();
  elements_.Cb = NEcb->panel_real();
  elements_.Lb = NElb->panel_real();
  elements_.kab = NEkab->panel_real();
  elements_.Rb = NErb->panel_real();
  elements_.RLa = NERla->panel_real();
  elements_.RLb = NERlb->panel_real();
  elements_.Rin = NErin->panel_real();
  hide();
  simulate_->setEnabled(true);
}

}  // namespace kovaro
