#include "design/design_windows.h"

#include "shell/widgets.h"

namespace kovaro {
TFlossless::TFlossless() { InitWindow(this, "TFlossless", QStringLiteral("Lossless design"), 400, 300); }

TFlossy::TFlossy() { InitWindow(this, "TFlossy", QStringLiteral("Lossy design"), 400, 300); }

TForm4::TForm4() { InitWindow(this, "TForm4", QStringLiteral("Regular Tesla coil"), 400, 300); }

}  // namespace kovaro
