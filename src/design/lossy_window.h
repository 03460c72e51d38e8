#pragma once

#include <QWidget>

#include "design/lossy.h"
#include "state/app_state.h"

class QCheckBox;
class QPushButton;

namespace kovaro {

class RadioGroup;
class TForm1;
class TForm3;
class TNEdit;

// "Lossy design": a Butterworth bandpass design, "Set" for a wanted output, and a design
// from given elements.
class TFlossy : public QWidget {
 public:
  TFlossy(AppState& state, TForm1& main, TForm3& elements);

  void BdesignClick();
  void Button2Click();
  void Button1Click();

  // The window's fields and the main window values the designs read.
  LossyInputs Read() const;

  TNEdit* NEfreq;
  TNEdit* NEiin;
  TNEdit* NEn;
  TNEdit* NEb;
  QCheckBox* CBsquare;
  RadioGroup* RGdesign;
  TNEdit* NEe;
  TNEdit* NEcb;
  QPushButton* Button2;
  QPushButton* Bdesign;
  TNEdit* NECa1;
  TNEdit* NECb1;
  TNEdit* NELb1;
  TNEdit* NEiin1;
  QPushButton* Button1;

 private:
  template <class Action>
  void Run(Action action);

  AppState& state_;
  TForm1& main_;
  TForm3& elements_;
};

}  // namespace kovaro
