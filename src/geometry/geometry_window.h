#pragma once

#include <QWidget>
#include <vector>

#include "geometry/coil_geometry.h"
#include "geometry/units.h"
#include "state/app_state.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;

namespace kovaro {

class ModeChart;
class RadioGroup;
class TFlossless;
class TFlossy;
class TForm1;
class TForm3;
class TForm4;
class TNEdit;

// "Coil geometry": the element values of the physical coil, and the primary that a design
// asks for. Its lengths are shown in metres, millimetres or inches; Read() gives metres.
class TFgeometry : public QWidget {
 public:
  TFgeometry(AppState& state, TForm1& main, TForm3& elements, TFlossless& lossless, TFlossy& lossy,
             TForm4& tesla);

  void BcalcClick();
  void BuseClick();
  void BsendClick();
  void BfindClick();

  CoilGeometry Read() const;

  // While a project is put into the window: a change of unit only relabels the lengths,
  // whose values the project sets next, in that unit.
  void SetLengthsFollow(bool follow) { lengths_follow_ = follow; }

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
  QComboBox* CBunit;  // the unit of the lengths shown
  QComboBox* CBawg;   // a wire gauge, which fills the wire's diameter
  TNEdit* NEceil;     // a grounded ceiling's height above the floor, 0 for none
  TNEdit* NEformt;    // the coil form's wall inside the winding, 0 for none
  TNEdit* NEformer;   // its relative permittivity, 0 for none
  ModeChart* Modes;   // the first mode along the winding, after "Calculate"

 private:
  // A length's field, shown in the window's unit: its label names the unit. The length is
  // kept in metres, as typed or set; a change of unit changes only what the field shows.
  struct LengthField {
    TNEdit* field;
    QLabel* label;
    QString quantity;
    Real metres;
  };
  TNEdit* Length(QGroupBox* group, const char* name, const QString& quantity, int top, int n, Real metres);
  Real Metres(const TNEdit* field) const;
  void SetLength(TNEdit* field, Real metres);
  // Shows the lengths in another unit: the same coil, other numbers. Refused, naming the
  // field, where a length would be beyond the numbers a field holds.
  void ShowIn(LengthUnit unit);
  // The first mode shown belongs to the coil last calculated, not to one changed since.
  void ForgetModes();

  std::vector<LengthField> lengths_;
  LengthUnit unit_ = LengthUnit::Metre;
  bool lengths_follow_ = false;
  bool converting_ = false;  // the window itself shows the lengths in another unit
  AppState& state_;
  TForm1& main_;
  TForm3& elements_;
  TFlossless& lossless_;
  TFlossy& lossy_;
  TForm4& tesla_;
};

}  // namespace kovaro
