#include "design/design_host.h"

namespace kovaro {

void SetElementFields(DesignHost& host, const ElementSet& e) {
  host.SetElementField(ElementField::Ca, e.Ca);
  host.SetElementField(ElementField::La, e.La);
  host.SetElementField(ElementField::Cb, e.Cb);
  host.SetElementField(ElementField::Lb, e.Lb);
  host.SetElementField(ElementField::kab, e.kab);
  host.SetElementField(ElementField::Rb, e.Rb);
}

}  // namespace kovaro
