#pragma once

#include <QWidget>

#include "elements/element_set.h"

class QPushButton;

namespace kovaro {

class TNEdit;

// "Element values": the nine fields that Apply copies into the ElementSet.
class TForm3 : public QWidget {
 public:
  // Apply enables the main window's "Simulate and plot" button.
  TForm3(ElementSet& elements, QPushButton* simulate);

  void BchangeClick();

  TNEdit* NEca;
  TNEdit* NEla;
  TNEdit* NElb;
  TNEdit* NEcb;
  TNEdit* NEkab;
  TNEdit* NERla;
  TNEdit* NERlb;
  TNEdit* NErin;
  TNEdit* NErb;
  QPushButton* Bchange;

 private:
  ElementSet& elements_;
  QPushButton* simulate_;
};

}  // namespace kovaro
