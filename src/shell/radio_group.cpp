#include "shell/radio_group.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QRadioButton>

namespace kovaro {

RadioGroup::RadioGroup(const QString& caption, const QStringList& items, int columns, QWidget* parent)
    : QGroupBox(caption, parent) {
  auto* layout = new QGridLayout(this);
  layout->setContentsMargins(6, 2, 6, 2);
  layout->setSpacing(0);
  auto* group = new QButtonGroup(this);
  const int per_column = (static_cast<int>(items.size()) + columns - 1) / columns;
  for (int i = 0; i < items.size(); ++i) {
    auto* button = new QRadioButton(items[i], this);
    group->addButton(button, i);
    layout->addWidget(button, i % per_column, i / per_column);
    items_.push_back(button);
  }
}

int RadioGroup::itemIndex() const {
  for (size_t i = 0; i < items_.size(); ++i) {
    if (items_[i]->isChecked()) return static_cast<int>(i);
  }
  return -1;
}

void RadioGroup::setItemIndex(int index) { items_[index]->setChecked(true); }

}  // namespace kovaro
