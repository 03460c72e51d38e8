#pragma once

#include <QString>
#include <functional>
#include <string>

#include "shell/file_error.h"
#include "shell/float_error.h"
#include "shell/messages.h"

class QWidget;

namespace kovaro {

using ErrorPresenter = std::function<void(QWidget* parent, const QString& text)>;

// Replaces the way the box is presented (tests record the texts); returns the previous one.
// An empty presenter restores the message box.
ErrorPresenter SetErrorPresenter(ErrorPresenter presenter);

// The critical message box titled "Kovaro", with the full-stop rule applied.
void ShowError(QWidget* parent, const std::string& message);

// Runs one user action. An arithmetic fault, a file error, a refused field text or a refused input ends it
// with the error box; nothing travels on into the event loop. Returns whether it completed.
template <class Action>
bool Guarded(QWidget* parent, Action&& action) {
  try {
    action();
    return true;
  } catch (const FloatError& e) {
    ShowError(parent, e.what());
  } catch (const FileError& e) {
    ShowError(parent, e.what());
  } catch (const InvalidNumber& e) {
    ShowError(parent, e.what());
  } catch (const InputError& e) {
    ShowError(parent, e.what());
  }
  return false;
}

}  // namespace kovaro
