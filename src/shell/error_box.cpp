#include "shell/error_box.h"

#include <QMessageBox>

namespace kovaro {
namespace {

ErrorPresenter& Presenter() {
  static ErrorPresenter presenter = [](QWidget* parent, const QString& text) {
    QMessageBox::critical(parent, QStringLiteral("Kovaro"), text);
  };
  return presenter;
}

}  // namespace

ErrorPresenter SetErrorPresenter(ErrorPresenter presenter) {
  ErrorPresenter old = Presenter();
  Presenter() = std::move(presenter);
  return old;
}

void ShowError(QWidget* parent, const std::string& message) {
  Presenter()(parent, QString::fromStdString(WithFullStop(message)));
}

}  // namespace kovaro
