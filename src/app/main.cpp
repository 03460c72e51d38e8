#include <QApplication>

#include "app/program.h"

// "kovaro FILE" opens the project FILE once the main window is shown.
int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  kovaro::Program program;
  program.Start();
  const QStringList arguments = QCoreApplication::arguments();
  if (arguments.size() > 1) program.project->Open(arguments.at(1));
  return QApplication::exec();
}
