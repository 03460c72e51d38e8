#include "geometry/geometry_window.h"

#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

#include "app/main_window.h"
#include "design/design_effects.h"
#include "design/lossless_window.h"
#include "design/lossy_window.h"
#include "design/tesla_window.h"
#include "elements/element_window.h"
#include "shell/error_box.h"
#include "shell/nedit.h"
#include "shell/radio_group.h"
#include "shell/widgets.h"

namespace kovaro {
namespace {

QGroupBox* MakeGroup(QWidget* parent, const QString& title, int x, int y, int height) {
  auto* group = new QGroupBox(title, parent);
  group->setGeometry(x, y, 280, height);
  return group;
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
  InitWindow(this, "TFgeometry", QStringLiteral("Coil geometry"), 600, 366);
  const CoilGeometry initial;
  QGroupBox* secondary = MakeGroup(this, QStringLiteral("Secondary"), 8, 8, 148);
  NEsd = Row(secondary, "NEsd", QStringLiteral("Diameter (m)"), 20, 0, initial.secondary.diameter);
  NEsh = Row(secondary, "NEsh", QStringLiteral("Winding height (m)"), 20, 1, initial.secondary.height);
  NEsn = Row(secondary, "NEsn", QStringLiteral("Turns"), 20, 2, initial.secondary.turns,
             QStringLiteral("Turns of the secondary"));
  NEsw = Row(secondary, "NEsw", QStringLiteral("Wire diameter (m)"), 20, 3, initial.secondary.wire);
  NEsb =
      Row(secondary, "NEsb", QStringLiteral("Winding start above ground (m)"), 20, 4, initial.secondary.base);

  QGroupBox* topload = MakeGroup(this, QStringLiteral("Topload"), 8, 164, 156);
  RGtop =
      Shapes(topload, "RGtop", {QStringLiteral("None"), QStringLiteral("Toroid"), QStringLiteral("Sphere")},
             static_cast<int>(initial.topload));
  NEtD = Row(topload, "NEtD", QStringLiteral("Major diameter (m)"), 56, 0, initial.top_major);
  NEtd = Row(topload, "NEtd", QStringLiteral("Minor diameter (m)"), 56, 1, initial.top_minor);
  NEth = Row(topload, "NEth", QStringLiteral("Centre above winding top (m)"), 56, 2, initial.top_height);
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

  QGroupBox* primary = MakeGroup(this, QStringLiteral("Primary"), 296, 8, 180);
  RGprim = Shapes(primary, "RGprim", {QStringLiteral("Flat spiral"), QStringLiteral("Helical")},
                  initial.primary.helical ? 1 : 0);
  NEpr = Row(primary, "NEpr", QStringLiteral("Inner radius (m)"), 56, 0, initial.primary.radius);
  NEpn = Row(primary, "NEpn", QStringLiteral("Turns"), 56, 1, initial.primary.turns,
             QStringLiteral("Turns of the primary"));
  NEps = Row(primary, "NEps", QStringLiteral("Turn spacing (m)"), 56, 2, initial.primary.spacing);
  NEps->setToolTip(QStringLiteral("The pitch for a helix"));
  NEpw = Row(primary, "NEpw", QStringLiteral("Conductor diameter (m)"), 56, 3, initial.primary.conductor);
  NEph =
      Row(primary, "NEph", QStringLiteral("Height above winding start (m)"), 56, 4, initial.primary.height);

  Bcalc = MakeButton(this, "Bcalc", QStringLiteral("Calculate"), 296, 200, 137);
  Buse = MakeButton(this, "Buse", QStringLiteral("Use for elements"), 439, 200, 137);
  Bsend = MakeButton(this, "Bsend", QStringLiteral("Send to designs"), 296, 232, 137);
  Bfind = MakeButton(this, "Bfind", QStringLiteral("Find primary"), 439, 232, 137);
  connect(Bcalc, &QPushButton::clicked, this, [this] { BcalcClick(); });
  connect(Buse, &QPushButton::clicked, this, [this] { BuseClick(); });
  connect(Bsend, &QPushButton::clicked, this, [this] { BsendClick(); });
  connect(Bfind, &QPushButton::clicked, this, [this] { BfindClick(); });
}

CoilGeometry TFgeometry::Read() const {
  CoilGeometry g;
  g.secondary = {NEsd->panel_real(), NEsh->panel_real(), NEsn->panel_real(), NEsw->panel_real(),
                 NEsb->panel_real()};
  g.topload = static_cast<Topload>(RGtop->itemIndex());
  g.top_major = NEtD->panel_real();
  g.top_minor = NEtd->panel_real();
  g.top_height = NEth->panel_real();
  g.measured_f = NEsf->panel_real();
  g.primary = {RGprim->itemIndex() == 1, NEpr->panel_real(), NEpn->panel_real(),
               NEps->panel_real(),       NEpw->panel_real(), NEph->panel_real()};
  return g;
}

void TFgeometry::BcalcClick() {
  Guarded(this,
          [this] { kovaro::BcalcClick(Read(), state_.Elements.Ca, main_.ReadSettings().CBdetails, main_); });
}

void TFgeometry::BuseClick() {
  Guarded(this, [this] {
    DesignEffects effects(main_, elements_, *this);
    kovaro::BuseClick(Read(), state_.Elements, effects);
  });
}

void TFgeometry::BsendClick() {
  Guarded(this, [this] {
    DesignEffects effects(main_, elements_, *this);
    effects.SetSecondaryFields(
        {{lossless_.NELb, lossless_.NECb}, {lossy_.NELb1, lossy_.NECb1}, {tesla_.NElb, tesla_.NEcb}});
    kovaro::BsendClick(Read(), effects);
  });
}

void TFgeometry::BfindClick() {
  Guarded(this, [this] {
    const BusyCursor busy;  // up to a second on the largest coils
    const PrimaryPlacement placement = kovaro::BfindClick(Read(), state_.Elements, main_);
    NEpn->setPanelReal(placement.turns);
    NEph->setPanelReal(placement.height);
  });
}

}  // namespace kovaro
