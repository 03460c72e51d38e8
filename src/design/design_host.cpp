#include "design/design_host.h"

#include "state/app_state.h"

namespace kovaro {

DesignTarget::DesignTarget(AppState& state) : Elements(state.Elements), DesignName(state.DesignName) {}

void SetElementFields(DesignHost& host, const ElementSet& e) {
  host.SetElementField(ElementField::Ca, e.Ca);
  host.SetElementField(ElementField::La, e.La);
  host.SetElementField(ElementField::Cb, e.Cb);
  host.SetElementField(ElementField::Lb, e.Lb);
  host.SetElementField(ElementField::kab, e.kab);
  host.SetElementField(ElementField::Rb, e.Rb);
}

}  // namespace kovaro
