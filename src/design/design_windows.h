#pragma once

#include <QWidget>

namespace kovaro {

// The three design windows; their calculators fill them.
class TFlossless : public QWidget {
 public:
  TFlossless();
};

class TFlossy : public QWidget {
 public:
  TFlossy();
};

class TForm4 : public QWidget {
 public:
  TForm4();
};

}  // namespace kovaro
