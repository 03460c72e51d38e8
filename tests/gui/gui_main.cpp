// GUI tests run headless unless a platform is chosen.

#include <gtest/gtest.h>

#include <QApplication>

#include "shell/error_box.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  // A modal box would wait for a user forever: a box that a test does not expect fails it.
  kovaro::SetErrorPresenter(
      [](QWidget*, const QString& text) { ADD_FAILURE() << "error box: " << text.toStdString(); });
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
