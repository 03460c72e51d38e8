#include "app/project_actions.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>

#include "app/program.h"
#include "app/project_binding.h"
#include "shell/error_box.h"
#include "shell/nedit.h"
#include "shell/text_file.h"

namespace kovaro {
namespace {

constexpr int kRecentCount = 8;
const QString kFilter = QStringLiteral("Kovaro projects (*.kovaro)");

QString QtChooseFile(QWidget* parent, bool saving, const QString& start) {
  return saving ? QFileDialog::getSaveFileName(parent, QStringLiteral("Save project"), start, kFilter)
                : QFileDialog::getOpenFileName(parent, QStringLiteral("Open project"), start, kFilter);
}

UnsavedChoice QtAskUnsaved(QWidget* parent, const QString& project) {
  const auto answer = QMessageBox::question(
      parent, QStringLiteral("Kovaro"), QStringLiteral("Save the changes to %1?").arg(project),
      QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
  if (answer == QMessageBox::Save) return UnsavedChoice::Save;
  if (answer == QMessageBox::Discard) return UnsavedChoice::Discard;
  return UnsavedChoice::Cancel;
}

ProjectDialogs& Dialogs() {
  static ProjectDialogs dialogs{QtChooseFile, QtAskUnsaved};
  return dialogs;
}

QSettings Settings() { return QSettings(QStringLiteral("Kovaro"), QStringLiteral("Kovaro")); }

QStringList RecentProjects() { return Settings().value(QStringLiteral("recentProjects")).toStringList(); }

}  // namespace

ProjectDialogs SetProjectDialogs(ProjectDialogs dialogs) {
  ProjectDialogs old = Dialogs();
  Dialogs().ChooseFile = dialogs.ChooseFile ? std::move(dialogs.ChooseFile) : QtChooseFile;
  Dialogs().AskUnsaved = dialogs.AskUnsaved ? std::move(dialogs.AskUnsaved) : QtAskUnsaved;
  return old;
}

ProjectActions::ProjectActions(Program& program) : program_(program), recent_(new QMenu(&program.form1)) {
  TForm1& main = program.form1;
  connect(main.Bsaveproject, &QPushButton::clicked, this, [this] { Save(); });
  connect(main.Bsaveprojectas, &QPushButton::clicked, this, [this] { SaveAs(); });
  connect(main.Bopenproject, &QPushButton::clicked, this, [this] { OpenChosen(); });
  main.Brecent->setMenu(recent_);
  connect(recent_, &QMenu::aboutToShow, this, [this] { FillRecent(); });
  // Apply copies fields into the elements: a change, though no field changes.
  connect(program.form3.Bchange, &QPushButton::clicked, this, [this] { MarkChanged(); });
  for (QWidget* window : std::initializer_list<QWidget*>{&main, &program.form3, &program.flossless,
                                                         &program.flossy, &program.form4})
    Watch(window);
}

void ProjectActions::Watch(QWidget* window) {
  for (TNEdit* field : window->findChildren<TNEdit*>())
    connect(field, &QLineEdit::textChanged, this, [this] { MarkChanged(); });
  for (QCheckBox* check : window->findChildren<QCheckBox*>())
    connect(check, &QCheckBox::toggled, this, [this] { MarkChanged(); });
  for (QRadioButton* radio : window->findChildren<QRadioButton*>())
    connect(radio, &QRadioButton::toggled, this, [this] { MarkChanged(); });
  for (QComboBox* list : window->findChildren<QComboBox*>())
    connect(list, &QComboBox::currentIndexChanged, this, [this] { MarkChanged(); });
}

void ProjectActions::MarkChanged() {
  if (applying_ || changed_) return;
  changed_ = true;
  ShowTitle();
}

void ProjectActions::ShowTitle() {
  TForm1& main = program_.form1;
  if (path_.isEmpty()) return;  // before any project the window is "Kovaro", as ever
  main.setWindowTitle(QFileInfo(path_).fileName() + QStringLiteral("[*] - Kovaro"));
  main.setWindowModified(changed_);
}

bool ProjectActions::Save() { return path_.isEmpty() ? SaveAs() : SaveTo(path_); }

bool ProjectActions::SaveAs() {
  const QString start =
      path_.isEmpty() ? QString::fromStdString(program_.state->DesignName + ".kovaro") : path_;
  QString path = Dialogs().ChooseFile(&program_.form1, true, start);
  if (path.isEmpty()) return false;
  if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".kovaro");
  return SaveTo(path);
}

bool ProjectActions::SaveTo(const QString& path) {
  return Guarded(&program_.form1, [&] {
    const Project project = CollectProject(program_);
    WriteWholeFile(path.toStdString(), ProjectText(project), true);
    program_.form1.LogLine("Project saved as " + QFileInfo(path).fileName().toStdString());
    Opened(path);
  });
}

bool ProjectActions::SettleChanges() {
  if (!changed_ || path_.isEmpty()) return true;
  switch (Dialogs().AskUnsaved(&program_.form1, QFileInfo(path_).fileName())) {
    case UnsavedChoice::Save:
      return Save();
    case UnsavedChoice::Discard:
      return true;
    case UnsavedChoice::Cancel:
      return false;
  }
  return false;
}

bool ProjectActions::MayClose() { return SettleChanges(); }

void ProjectActions::OpenChosen() {
  if (!SettleChanges()) return;
  const QString path = Dialogs().ChooseFile(&program_.form1, false, QFileInfo(path_).absolutePath());
  if (!path.isEmpty()) Open(path);
}

bool ProjectActions::Open(const QString& path) {
  return Guarded(&program_.form1, [&] {
    std::vector<std::string> unknown;
    const Project project = ReadProjectFile(path.toStdString(), unknown);  // everything checked first
    applying_ = true;
    ApplyProject(program_, project);
    applying_ = false;
    if (!unknown.empty()) {
      std::string keys;
      for (const std::string& key : unknown) {
        if (!keys.empty()) keys.append(", ");
        keys.append(key);
      }
      program_.form1.LogLine("Keys of " + QFileInfo(path).fileName().toStdString() +
                             " this Kovaro does not know, left out: " + keys);
    }
    Opened(path);
  });
}

void ProjectActions::Opened(const QString& path) {
  path_ = QFileInfo(path).absoluteFilePath();
  changed_ = false;
  QStringList recent = RecentProjects();
  recent.removeAll(path_);
  recent.prepend(path_);
  while (recent.size() > kRecentCount) recent.removeLast();
  Settings().setValue(QStringLiteral("recentProjects"), recent);
  ShowTitle();
}

void ProjectActions::FillRecent() {
  recent_->clear();
  const QStringList recent = RecentProjects();
  if (recent.isEmpty()) recent_->addAction(QStringLiteral("(none yet)"))->setEnabled(false);
  for (const QString& path : recent) {
    connect(recent_->addAction(path), &QAction::triggered, this, [this, path] {
      if (SettleChanges()) Open(path);
    });
  }
}

}  // namespace kovaro
