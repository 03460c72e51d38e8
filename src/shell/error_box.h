#pragma once

#include <QString>
#include <functional>
#include <string>

#include "shell/kovaro_error.h"

class QWidget;

namespace kovaro {

using ErrorPresenter = std::function<void(QWidget* parent, const QString& text)>;

// Replaces the way the box is presented (tests record the texts); returns the previous one.
// An empty presenter restores the message box.
ErrorPresenter SetErrorPresenter(ErrorPresenter presenter);

// The critical message box titled "Kovaro", with the full-stop rule applied.
void ShowError(QWidget* parent, const std::string& message);

// Runs one user action. An arithmetic fault, a file error, a refused field text or a refused
// input ends it with the error box, and so does any other exception, with its message:
// nothing travels on into the event loop. Returns whether it completed.
template <class Action>
bool Guarded(QWidget* parent, Action&& action) {
  try {
    action();
    return true;
  } catch (const KovaroError& e) {
    ShowError(parent, e.what());
  } catch (const std::exception& e) {
    ShowError(parent, e.what());
  }
  return false;
}

}  // namespace kovaro
