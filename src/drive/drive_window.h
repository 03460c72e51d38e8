#pragma once

#include <QWidget>
#include <optional>

#include "drive/drive.h"
#include "state/app_state.h"

class QPushButton;

namespace kovaro {

class RadioGroup;
class TForm1;
class TForm3;
class TNEdit;

// "Drive and bank": the hardware a run asks for, a capacitor bank for Ca, the over-current
// limit, bursts, and the streamers' load on the secondary.
class TFdrive : public QWidget {
 public:
  TFdrive(AppState& state, TForm1& main, TForm3& elements);

  void BdcalcClick();
  void BdapplyClick();
  DriveInputs Read() const;

  TNEdit* NEdcap;
  TNEdit* NEdvr;
  TNEdit* NEdir;
  TNEdit* NEddv;
  TNEdit* NEdtan;
  TNEdit* NEdmargin;
  TNEdit* NEdocd;
  TNEdit* NEdon;
  TNEdit* NEdbps;
  TNEdit* NEdslen;
  TNEdit* NEdscap;
  RadioGroup* RGdsr;
  TNEdit* NEdsr;
  QPushButton* Bdcalc;
  QPushButton* Bdapply;

 private:
  AppState& state_;
  TForm1& main_;
  TForm3& elements_;
  std::optional<AppliedStreamers> applied_;  // the streamer load last applied
};

}  // namespace kovaro
