#include "app/project_actions.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <memory>

#include "app/program.h"
#include "app/project_binding.h"
#include "shell/error_box.h"
#include "shell/messages.h"
#include "shell/nedit.h"
#include "shell/text_file.h"
#include "shell/widgets.h"

namespace kovaro {
namespace {

constexpr int kRecentCount = 8;
const QString kFilter = QStringLiteral("Kovaro projects (*.kovaro)");

QString QtChooseFile(QWidget* parent, bool saving, const QString& start) {
  if (!saving) return QFileDialog::getOpenFileName(parent, QStringLiteral("Open project"), start, kFilter);
  const std::unique_ptr<QFileDialog> dialog(MakeSaveDialog(parent, start));
  return dialog->exec() == QDialog::Accepted ? dialog->selectedFiles().value(0) : QString();
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

void SetRecentProjects(const QStringList& recent) {
  Settings().setValue(QStringLiteral("recentProjects"), recent);
}

// A design without a name yet is saved as "untitled", not as a hidden ".kovaro".
QString ProposedName(const std::string& design_name) {
  return QString::fromStdString(design_name.empty() ? std::string("untitled") : design_name) +
         QStringLiteral(".kovaro");
}

}  // namespace

QFileDialog* MakeSaveDialog(QWidget* parent, const QString& start) {
  auto* dialog = new QFileDialog(parent, QStringLiteral("Save project"), start, kFilter);
  dialog->setAcceptMode(QFileDialog::AcceptSave);
  // The suffix added by the dialog, so that its question about replacing a file is about
  // the file that is written.
  dialog->setDefaultSuffix(QStringLiteral("kovaro"));
  return dialog;
}

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
  // "[*]" in a file name is doubled, so that only the change mark is Qt's placeholder.
  QString name = QFileInfo(path_).fileName();
  name.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
  main.setWindowTitle(name + QStringLiteral("[*] - Kovaro"));
  main.setWindowModified(changed_);
}

bool ProjectActions::Save() { return path_.isEmpty() ? SaveAs() : SaveTo(path_); }

bool ProjectActions::SaveAs() {
  const QString start = path_.isEmpty() ? ProposedName(program_.state->DesignName) : path_;
  QString path = Dialogs().ChooseFile(&program_.form1, true, start);
  if (path.isEmpty()) return false;
  if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".kovaro");
  return SaveTo(path);
}

bool ProjectActions::SaveTo(const QString& path) {
  return Guarded(&program_.form1, [&] {
    // A text typed into the field that has the focus counts, as it would if a button took
    // the focus; a refused one ends the saving.
    if (auto* field = dynamic_cast<TNEdit*>(QApplication::focusWidget())) field->ValidateOnExit();
    const BusyCursor busy;
    const Project project = CollectProject(program_);
    const std::string name = QFileInfo(path).fileName().toStdString();
    WriteWholeFile(path.toStdString(), SavedProjectText(project, name), true);
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
  if (!Guarded(&program_.form1, [this] { RefuseWhileSweeping(QString()); }) || !SettleChanges()) return;
  const QString path = Dialogs().ChooseFile(&program_.form1, false, QFileInfo(path_).absolutePath());
  if (!path.isEmpty()) Open(path);
}

void ProjectActions::RefuseWhileSweeping(const QString& path) const {
  if (!program_.sweep || !program_.sweep->Running()) return;
  const std::string name =
      path.isEmpty() ? std::string("a project") : QFileInfo(path).fileName().toStdString();
  throw InputError("Cannot open " + name + " while a sweep runs: cancel the sweep first");
}

bool ProjectActions::Open(const QString& path) {
  const bool opened = Guarded(&program_.form1, [&] {
    RefuseWhileSweeping(path);
    const BusyCursor busy;
    std::vector<std::string> unknown;
    const Project project = ReadProjectFile(path.toStdString(), unknown);  // everything checked first
    applying_ = true;
    ApplyProject(program_, project);
    applying_ = false;
    const std::string name = QFileInfo(path).fileName().toStdString();
    if (!unknown.empty()) {
      std::string keys;
      for (const std::string& key : unknown) {
        if (!keys.empty()) keys.append(", ");
        keys.append(key);
      }
      program_.form1.LogLine("Keys of " + name + " this Kovaro does not know, left out: " + keys);
    }
    const std::string unapplied = ElementsNotApplied(project);
    if (!unapplied.empty())
      program_.form1.LogLine("Element values of " + name +
                             " not applied, the circuit keeps its own: " + unapplied);
    Opened(path);
  });
  // A project that is gone leaves the recent ones.
  if (!opened && !path.isEmpty() && !QFileInfo::exists(path)) {
    QStringList recent = RecentProjects();
    if (recent.removeAll(QFileInfo(path).absoluteFilePath()) > 0) SetRecentProjects(recent);
  }
  return opened;
}

void ProjectActions::Opened(const QString& path) {
  path_ = QFileInfo(path).absoluteFilePath();
  changed_ = false;
  QStringList recent = RecentProjects();
  recent.removeAll(path_);
  recent.prepend(path_);
  while (recent.size() > kRecentCount) recent.removeLast();
  SetRecentProjects(recent);
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
