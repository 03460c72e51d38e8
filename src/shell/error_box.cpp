#include "shell/error_box.h"

#include <QMessageBox>

#include "shell/messages.h"

namespace kovaro {
namespace {

void MessageBox(QWidget* parent, const QString& text) {
  QMessageBox::critical(parent, QStringLiteral("Kovaro"), text);
}

ErrorPresenter& Presenter() {
  static ErrorPresenter presenter = MessageBox;
  return presenter;
}

}  // namespace

ErrorPresenter SetErrorPresenter(ErrorPresenter presenter) {
  ErrorPresenter old = Presenter();
  Presenter() = presenter ? std::move(presenter) : MessageBox;
  return old;
}

void ShowError(QWidget* parent, const std::string& message) {
  Presenter()(parent, QString::fromStdString(WithFullStop(message)));
}

}  // namespace kovaro
