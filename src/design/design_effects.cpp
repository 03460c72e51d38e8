#include "design/design_effects.h"

#include <QCheckBox>
#include <QPushButton>

#include "app/main_window.h"
#include "elements/element_window.h"
#include "shell/nedit.h"
#include "shell/radio_group.h"

namespace kovaro {

void DesignEffects::LogLine(const std::string& text) { main_.LogLine(text); }

void DesignEffects::SetElementField(ElementField field, Real value) {
  TNEdit* const fields[] = {elements_.NEca, elements_.NEla,  elements_.NElb,
                            elements_.NEcb, elements_.NEkab, elements_.NErb};
  fields[static_cast<int>(field)]->setPanelReal(value);
}

void DesignEffects::SetDesignField(DesignField field, Real value) {
  (field == DesignField::Bandwidth ? bandwidth_ : gain_)->setPanelReal(value);
}

void DesignEffects::SetInputFrequency(Real fin) { main_.NEfin->setPanelReal(fin); }

void DesignEffects::SetVinWaveform(Waveform w) { main_.RGvin->setItemIndex(static_cast<int>(w)); }

void DesignEffects::SetSimulateEnabled(bool enabled) { main_.Bplot->setEnabled(enabled); }

void DesignEffects::TickRemoveLoad() { main_.CBnoload->setChecked(true); }

void DesignEffects::HideDesignWindow() { window_.hide(); }

void DesignEffects::SetDesignSecondary(Real Lb, Real Cb) {
  for (const auto& [lb, cb] : secondaries_) {
    lb->setPanelReal(Lb);
    cb->setPanelReal(Cb);
  }
}

}  // namespace kovaro
