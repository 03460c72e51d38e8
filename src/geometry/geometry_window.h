#pragma once

#include <QWidget>

#include "geometry/coil_geometry.h"
#include "shell/app_state.h"

class QGroupBox;
class QPushButton;

namespace kovaro {

class RadioGroup;
class TFlossless;
class TFlossy;
class TForm1;
class TForm3;
class TForm4;
class TNEdit;

// "Coil geometry": the element values of the physical coil, and the primary that a design
// asks for.
class TFgeometry : public QWidget {
 public:
  TFgeometry(AppState& state, TForm1& main, TForm3& elements, TFlossless& lossless, TFlossy& lossy,
             TForm4& tesla);

  void BcalcClick();
  void BuseClick();
  void BsendClick();
  void BfindClick();

  CoilGeometry Read() const;

  TNEdit* NEsd;
  TNEdit* NEsh;
  TNEdit* NEsn;
  TNEdit* NEsw;
  TNEdit* NEsb;
  RadioGroup* RGtop;
  TNEdit* NEtD;
  TNEdit* NEtd;
  TNEdit* NEth;
  TNEdit* NEsf;
  RadioGroup* RGprim;
  TNEdit* NEpr;
  TNEdit* NEpn;
  TNEdit* NEps;
  TNEdit* NEpw;
  TNEdit* NEph;
  QPushButton* Bcalc;
  QPushButton* Buse;
  QPushButton* Bsend;
  QPushButton* Bfind;

 private:
  AppState& state_;
  TForm1& main_;
  TForm3& elements_;
  TFlossless& lossless_;
  TFlossy& lossy_;
  TForm4& tesla_;
};

}  // namespace kovaro
