#pragma once

#include <QObject>
#include <QString>
#include <functional>

class QFileDialog;
class QMenu;
class QWidget;

namespace kovaro {

struct Program;

// How the project actions ask the user: a file to save to or to open (empty when cancelled),
// and what to do with changes not saved. Tests replace them; the default ones are Qt's file
// dialogs and a question box.
enum class UnsavedChoice { Save, Discard, Cancel };
struct ProjectDialogs {
  std::function<QString(QWidget* parent, bool saving, const QString& start)> ChooseFile;
  std::function<UnsavedChoice(QWidget* parent, const QString& project)> AskUnsaved;
};

// The dialog that asks where to save a project, starting at `start`; the caller owns it.
QFileDialog* MakeSaveDialog(QWidget* parent, const QString& start);

// Replaces the dialogs, returning the ones before; empty functions restore Qt's.
ProjectDialogs SetProjectDialogs(ProjectDialogs dialogs);

// Saving and opening projects: the project's file, whether something changed since it was
// saved or opened (shown in the main window's title), the last eight projects.
class ProjectActions : public QObject {
 public:
  explicit ProjectActions(Program& program);

  // "Save project": to the project's file, or to one chosen when there is none yet.
  bool Save();
  // "Save project as...".
  bool SaveAs();
  // "Open project...": a file chosen, after the changes not saved are settled.
  void OpenChosen();
  // Opens a file: read and checked whole, then applied. Returns whether it was opened.
  bool Open(const QString& path);
  // Whether the program may end: changes not saved are saved, dropped, or the closing cancelled.
  bool MayClose();

  // Marks a change when any field, check box or choice of the window changes.
  void Watch(QWidget* window);
  void MarkChanged();

  const QString& Path() const { return path_; }
  bool Changed() const { return changed_; }

 private:
  bool SaveTo(const QString& path);
  // Opening a project would change the sweep's settings under the sweep running.
  void RefuseWhileSweeping(const QString& path) const;
  bool SettleChanges();
  void Opened(const QString& path);
  void ShowTitle();
  void FillRecent();

  Program& program_;
  QString path_;  // the project's file; empty before one is saved or opened
  bool changed_ = false;
  bool applying_ = false;  // a project is being put into the windows
  QMenu* recent_;
};

}  // namespace kovaro
