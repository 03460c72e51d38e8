// What a user sees of the fixed layouts: no label or check box caption runs into a field, and
// a window whose controls stand at fixed places cannot be made smaller than its layout.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QStyle>
#include <QStyleOptionButton>

#include "app/program.h"
#include "gui_helpers.h"
#include "shell/nedit.h"

using namespace kovaro;

namespace {

std::vector<QWidget*> FixedLayouts(Program& p) {
  return {&p.form1, &p.form3, &p.flossless, &p.flossy, &p.form4, &p.Geometry()};
}

QRect InWindow(const QWidget* w, const QRect& r) {
  return QRect(w->mapTo(w->window(), r.topLeft()), r.size());
}

// The pixels a caption's text covers, in window coordinates.
QRect TextRect(const QLabel* label) {
  return InWindow(label, QRect(QPoint(0, 0), QSize(label->fontMetrics().horizontalAdvance(label->text()),
                                                   label->height())));
}
QRect TextRect(const QCheckBox* box) {
  QStyleOptionButton option;
  option.initFrom(box);
  const QRect contents = box->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, box);
  return InWindow(box, QRect(contents.topLeft(),
                             QSize(box->fontMetrics().horizontalAdvance(box->text()), contents.height())));
}

}  // namespace

TEST(Layout, NoCaptionRunsIntoAField) {
  Program p;
  p.Start();
  for (QWidget* window : FixedLayouts(p)) {
    window->show();
    const QList<TNEdit*> fields = window->findChildren<TNEdit*>();
    auto check = [&](const QRect& text, const QString& caption) {
      for (const TNEdit* field : fields) {
        EXPECT_FALSE(text.intersects(InWindow(field, field->rect())))
            << window->objectName().toStdString() << ": \"" << caption.toStdString() << "\" runs into "
            << field->objectName().toStdString();
      }
    };
    for (const QLabel* label : window->findChildren<QLabel*>()) check(TextRect(label), label->text());
    for (const QCheckBox* box : window->findChildren<QCheckBox*>()) check(TextRect(box), box->text());
  }
}

TEST(Layout, FixedLayoutsKeepTheirSizeAsMinimum) {
  Program p;
  p.Start();
  for (QWidget* window : FixedLayouts(p)) {
    const QSize size = window->size();
    window->resize(200, 150);
    EXPECT_EQ(window->size(), size) << window->objectName().toStdString();
  }
  p.form2.resize(200, 150);  // the plot fits itself to any size
  EXPECT_EQ(p.form2.size(), QSize(200, 150));
}
