// GUI tests run headless unless a platform is chosen.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include "app/project_actions.h"
#include "shell/error_box.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // The recent projects of the tests' own, not the user's.
  QTemporaryDir settings;
  qputenv("XDG_CONFIG_HOME", settings.path().toLocal8Bit());
  QApplication app(argc, argv);
  // A modal box or dialog would wait for a user forever: one that a test does not expect
  // fails it.
  kovaro::SetErrorPresenter(
      [](QWidget*, const QString& text) { ADD_FAILURE() << "error box: " << text.toStdString(); });
  kovaro::SetProjectDialogs({[](QWidget*, bool, const QString&) {
                               ADD_FAILURE() << "file dialog";
                               return QString();
                             },
                             [](QWidget*, const QString&) {
                               ADD_FAILURE() << "unsaved changes question";
                               return kovaro::UnsavedChoice::Cancel;
                             }});
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
