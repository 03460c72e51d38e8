#pragma once

#include <QGroupBox>
#include <QStringList>
#include <vector>

class QRadioButton;

namespace kovaro {

// A captioned group of radio buttons filled column by column, one item always chosen.
class RadioGroup : public QGroupBox {
 public:
  RadioGroup(const QString& caption, const QStringList& items, int columns, QWidget* parent);

  int itemIndex() const;
  void setItemIndex(int index);
  QRadioButton* item(int index) const { return items_[index]; }

 private:
  std::vector<QRadioButton*> items_;
};

}  // namespace kovaro
