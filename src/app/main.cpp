#include <QApplication>

#include "app/program.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  kovaro::Program program;
  program.Start();
  return QApplication::exec();
}
