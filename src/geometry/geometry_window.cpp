#include "geometry/geometry_window.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <cmath>

#include "app/main_window.h"
#include "design/design_effects.h"
#include "design/lossless_window.h"
#include "design/lossy_window.h"
#include "design/tesla_window.h"
#include "elements/element_window.h"
#include "geometry/mode_chart.h"
#include "shell/error_box.h"
#include "shell/messages.h"
#include "shell/nedit.h"
#include "shell/numeric_text.h"
#include "shell/radio_group.h"
#include "shell/widgets.h"

namespace kovaro {
namespace {

// The window's frames are all 280 wide.
QGroupBox* Frame(QWidget* parent, const QString& title, int x, int y, int height) {
  return MakeGroup(parent, title, x, y, 280, height);
}

// A labelled field in the n-th row of a frame, below `top`; its refusals name it by its label,
// or by `caption` where two frames share the label.
TNEdit* Row(QGroupBox* group, const char* name, const QString& label, int top, int n, Real value,
            const QString& caption = QString()) {
  const int y = top + 24 * n;
  TNEdit* field = MakeCaptionedField(group, label, 8, name, 184, y, 88, value);
  if (!caption.isEmpty()) field->setCaption(caption);
  return field;
}

QString WithUnit(const QString& quantity, LengthUnit unit) {
  return quantity + QStringLiteral(" (") + QString::fromStdString(UnitName(unit)) + QStringLiteral(")");
}

RadioGroup* Shapes(QGroupBox* group, const char* name, const QStringList& items, int index) {
  auto* shapes = new RadioGroup(QStringLiteral("Shape"), items, static_cast<int>(items.size()), group);
  shapes->setObjectName(QString::fromLatin1(name));
  shapes->setGeometry(8, 16, 264, 36);
  shapes->setItemIndex(index);
  return shapes;
}

}  // namespace

TFgeometry::TFgeometry(AppState& state, TForm1& main, TForm3& elements, TFlossless& lossless, TFlossy& lossy,
                       TForm4& tesla)
    : state_(state), main_(main), elements_(elements), lossless_(lossless), lossy_(lossy), tesla_(tesla) {
  InitWindow(this, "TFgeometry", QStringLiteral("Coil geometry"), 600, 600);
  const CoilGeometry initial;
  QGroupBox* secondary = Frame(this, QStringLiteral("Secondary"), 8, 8, 148);
  NEsd = Length(secondary, "NEsd", QStringLiteral("Diameter"), 20, 0, initial.secondary.diameter);
  NEsh = Length(secondary, "NEsh", QStringLiteral("Winding height"), 20, 1, initial.secondary.height);
  NEsn = Row(secondary, "NEsn", QStringLiteral("Turns"), 20, 2, initial.secondary.turns,
             QStringLiteral("Turns of the secondary"));
  NEsw = Length(secondary, "NEsw", QStringLiteral("Wire diameter"), 20, 3, initial.secondary.wire);
  NEsb =
      Length(secondary, "NEsb", QStringLiteral("Winding start above ground"), 20, 4, initial.secondary.base);

  QGroupBox* topload = Frame(this, QStringLiteral("Topload"), 8, 164, 156);
  RGtop =
      Shapes(topload, "RGtop", {QStringLiteral("None"), QStringLiteral("Toroid"), QStringLiteral("Sphere")},
             static_cast<int>(initial.topload));
  NEtD = Length(topload, "NEtD", QStringLiteral("Major diameter"), 56, 0, initial.top_major);
  NEtd = Length(topload, "NEtd", QStringLiteral("Minor diameter"), 56, 1, initial.top_minor);
  NEth = Length(topload, "NEth", QStringLiteral("Centre above winding top"), 56, 2, initial.top_height);
  NEsf = Row(topload, "NEsf", QStringLiteral("Measured loaded resonance (Hz)"), 56, 3, initial.measured_f);
  NEsf->setToolTip(QStringLiteral("0 = not measured; a measured value sets Cb"));
  // Only the sizes the chosen topload has can be typed.
  auto topload_fields = [this] {
    const int shape = RGtop->itemIndex();
    NEtD->setEnabled(shape != static_cast<int>(Topload::None));
    NEtd->setEnabled(shape == static_cast<int>(Topload::Toroid));
    NEth->setEnabled(shape != static_cast<int>(Topload::None));
  };
  for (int i = 0; i < 3; ++i) connect(RGtop->item(i), &QRadioButton::toggled, this, topload_fields);
  topload_fields();

  QGroupBox* primary = Frame(this, QStringLiteral("Primary"), 296, 8, 180);
  RGprim = Shapes(primary, "RGprim", {QStringLiteral("Flat spiral"), QStringLiteral("Helical")},
                  initial.primary.helical ? 1 : 0);
  NEpr = Length(primary, "NEpr", QStringLiteral("Inner radius"), 56, 0, initial.primary.radius);
  NEpn = Row(primary, "NEpn", QStringLiteral("Turns"), 56, 1, initial.primary.turns,
             QStringLiteral("Turns of the primary"));
  NEps = Length(primary, "NEps", QStringLiteral("Turn spacing"), 56, 2, initial.primary.spacing);
  NEps->setToolTip(QStringLiteral("The pitch for a helix"));
  NEpw = Length(primary, "NEpw", QStringLiteral("Conductor diameter"), 56, 3, initial.primary.conductor);
  NEph = Length(primary, "NEph", QStringLiteral("Height above winding start"), 56, 4, initial.primary.height);

  // The lengths' unit, and a wire gauge that fills the wire's diameter.
  MakeLabel(this, QStringLiteral("Lengths in"), 296, 271);
  CBunit = new QComboBox(this);
  CBunit->setObjectName(QStringLiteral("CBunit"));
  for (int32_t u = 0; u < kLengthUnitCount; ++u)
    CBunit->addItem(QString::fromStdString(UnitName(static_cast<LengthUnit>(u))));
  CBunit->setGeometry(420, 268, 80, 22);
  MakeLabel(this, QStringLiteral("Wire gauge (AWG)"), 296, 299);
  CBawg = new QComboBox(this);
  CBawg->setObjectName(QStringLiteral("CBawg"));
  CBawg->addItem(QStringLiteral("-"));
  for (int32_t g = 1; g < kGaugeChoices; ++g)
    CBawg->addItem(QString::fromStdString(GeneralText(GaugeOfChoice(g))));
  CBawg->setGeometry(420, 296, 80, 22);
  CBawg->setToolTip(QStringLiteral("Fills the wire diameter with the bare wire's"));
  connect(CBunit, &QComboBox::currentIndexChanged, this, [this](int index) {
    const LengthUnit before = unit_;
    if (Guarded(this, [&] { ShowIn(static_cast<LengthUnit>(index)); })) return;
    const QSignalBlocker keep(CBunit);
    CBunit->setCurrentIndex(static_cast<int>(before));
  });
  connect(CBawg, &QComboBox::activated, this, [this](int index) {
    if (index > 0) SetLength(NEsw, AwgDiameter(GaugeOfChoice(index)));
  });
  // A diameter typed is no longer the gauge's.
  connect(NEsw, &QLineEdit::textEdited, this, [this] { CBawg->setCurrentIndex(0); });

  // What surrounds the coil, each 0 when absent.
  QGroupBox* around = Frame(this, QStringLiteral("Surroundings (0 = none)"), 8, 328, 100);
  NEceil = Length(around, "NEceil", QStringLiteral("Grounded ceiling above floor"), 20, 0, initial.ceiling);
  NEformt = Length(around, "NEformt", QStringLiteral("Coil form wall"), 20, 1, initial.form_wall);
  NEformer =
      Row(around, "NEformer", QStringLiteral("Coil form permittivity"), 20, 2, initial.form_permittivity);
  Modes = new ModeChart(this);
  Modes->setGeometry(296, 326, 288, 232);

  Bcalc = MakeButton(this, "Bcalc", QStringLiteral("Calculate"), 296, 200, 137);
  Buse = MakeButton(this, "Buse", QStringLiteral("Use for elements"), 439, 200, 137);
  Bsend = MakeButton(this, "Bsend", QStringLiteral("Send to designs"), 296, 232, 137);
  Bfind = MakeButton(this, "Bfind", QStringLiteral("Find primary"), 439, 232, 137);
  connect(Bcalc, &QPushButton::clicked, this, [this] { BcalcClick(); });
  connect(Buse, &QPushButton::clicked, this, [this] { BuseClick(); });
  connect(Bsend, &QPushButton::clicked, this, [this] { BsendClick(); });
  connect(Bfind, &QPushButton::clicked, this, [this] { BfindClick(); });
  for (TNEdit* field : findChildren<TNEdit*>())
    connect(field, &QLineEdit::textChanged, this, [this] { ForgetModes(); });
  for (QRadioButton* shape : findChildren<QRadioButton*>())
    connect(shape, &QRadioButton::toggled, this, [this] { ForgetModes(); });
}

void TFgeometry::ForgetModes() {
  if (!converting_) Modes->Show({}, {});
}

TNEdit* TFgeometry::Length(QGroupBox* group, const char* name, const QString& quantity, int top, int n,
                           Real metres) {
  const int y = top + 24 * n;
  QLabel* label = MakeLabel(group, WithUnit(quantity, unit_), 8, y);
  TNEdit* field = MakeField(group, name, 184, y, 88, metres / MetresPer(unit_));
  field->setCaption(label->text());
  const size_t index = lengths_.size();
  lengths_.push_back({field, label, quantity, metres});
  // A value typed or set is a length in the unit shown.
  field->setValueStored([this, index] {
    if (!converting_) lengths_[index].metres = lengths_[index].field->panel_real() * MetresPer(unit_);
  });
  return field;
}

Real TFgeometry::Metres(const TNEdit* field) const {
  for (const LengthField& length : lengths_)
    if (length.field == field) return length.metres;
  return 0;
}

void TFgeometry::SetLength(TNEdit* field, Real metres) {
  for (LengthField& length : lengths_) {
    if (length.field != field) continue;
    converting_ = true;
    field->setPanelReal(metres / MetresPer(unit_));
    converting_ = false;
    length.metres = metres;
  }
}

void TFgeometry::ShowIn(LengthUnit unit) {
  std::vector<Real> shown;
  for (const LengthField& length : lengths_) {
    const Real value = length.metres / MetresPer(unit);
    if (!lengths_follow_ && !std::isfinite(value))
      throw InputError(length.field->caption().toStdString() + "=" + GeneralText(length.field->panel_real()) +
                       " cannot be shown in " + UnitName(unit) +
                       ": it would be beyond the largest number a field holds");
    shown.push_back(value);
  }
  unit_ = unit;
  converting_ = true;
  for (size_t i = 0; i < lengths_.size(); ++i) {
    const LengthField& length = lengths_[i];
    if (!lengths_follow_) length.field->setPanelReal(shown[i]);
    length.label->setText(WithUnit(length.quantity, unit));
    length.field->setCaption(length.label->text());
  }
  converting_ = false;
}

CoilGeometry TFgeometry::Read() const {
  const auto metres = [this](const TNEdit* field) { return Metres(field); };
  CoilGeometry g;
  g.secondary = {metres(NEsd), metres(NEsh), NEsn->panel_real(), metres(NEsw), metres(NEsb)};
  g.topload = static_cast<Topload>(RGtop->itemIndex());
  g.top_major = metres(NEtD);
  g.top_minor = metres(NEtd);
  g.top_height = metres(NEth);
  g.measured_f = NEsf->panel_real();
  g.primary = {
      RGprim->itemIndex() == 1, metres(NEpr), NEpn->panel_real(), metres(NEps), metres(NEpw), metres(NEph)};
  g.ceiling = metres(NEceil);
  g.form_wall = metres(NEformt);
  g.form_permittivity = NEformer->panel_real();
  return g;
}

void TFgeometry::BcalcClick() {
  Guarded(this, [this] {
    Modes->Show({}, {});  // a refused coil has no modes to show
    const BusyCursor busy;
    const GeometryResult r =
        CalculateGeometry(Read(), state_.Elements.Ca, main_.ReadSettings().ListDetails, main_);
    Modes->Show(r.mode_voltage, r.mode_current);
  });
}

void TFgeometry::BuseClick() {
  Guarded(this, [this] {
    const BusyCursor busy;
    DesignEffects effects(main_, elements_, *this);
    UseGeometryForElements(Read(), state_.Elements, effects);
  });
}

void TFgeometry::BsendClick() {
  Guarded(this, [this] {
    const BusyCursor busy;
    DesignEffects effects(main_, elements_, *this);
    effects.SetSecondaryFields(
        {{lossless_.NELb, lossless_.NECb}, {lossy_.NELb1, lossy_.NECb1}, {tesla_.NElb, tesla_.NEcb}});
    SendGeometryToDesigns(Read(), effects);
  });
}

void TFgeometry::BfindClick() {
  Guarded(this, [this] {
    const BusyCursor busy;  // up to a second on the largest coils
    const PrimaryPlacement placement = FindPrimary(Read(), state_.Elements, main_);
    NEpn->setPanelReal(placement.turns);
    SetLength(NEph, placement.height);
  });
}

}  // namespace kovaro
