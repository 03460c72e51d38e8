#include <gtest/gtest.h>

#include <QClipboard>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QSettings>
#include <QUrl>
#include <cstring>
#include <fstream>
#include <random>

#include "app/project_actions.h"
#include "app/project_binding.h"
#include "gui_helpers.h"
#include "project/random_project.h"
#include "shell/nedit.h"
#include "simulation/run_host_fake.h"

using namespace kovaro;

namespace {

// Answers the project dialogs: saves to and opens `path`, and settles unsaved changes with
// `unsaved`.
class ScriptedDialogs {
 public:
  explicit ScriptedDialogs(QString path, UnsavedChoice unsaved = UnsavedChoice::Discard)
      : old_(SetProjectDialogs({[this](QWidget*, bool, const QString&) { return path_; },
                                [this](QWidget*, const QString& name) {
                                  asked.push_back(name);
                                  return unsaved_;
                                }})),
        path_(std::move(path)),
        unsaved_(unsaved) {}
  ~ScriptedDialogs() { SetProjectDialogs(old_); }
  std::vector<QString> asked;

 private:
  ProjectDialogs old_;
  QString path_;
  UnsavedChoice unsaved_;
};

// A run's stored samples and its report, or its fault.
struct RunResult {
  std::vector<std::string> boxes;
  QStringList report;
  int32_t count = 0;
  std::vector<Real> time;
  std::vector<Sample> channels;
};

RunResult Simulate(Program& p) {
  ErrorRecorder boxes;
  const qsizetype before = MemoLines(p.form1).size();
  p.form1.BplotClick();
  RunResult r{boxes.texts, MemoLines(p.form1).mid(before), std::max(p.state->Store.SampleCount, 0), {}, {}};
  r.time.assign(p.state->Store.Time.begin(), p.state->Store.Time.begin() + r.count);
  r.channels.assign(p.state->Store.Channels.begin(), p.state->Store.Channels.begin() + r.count);
  return r;
}

// The ten bytes of an 80-bit real (the rest of its storage is padding).
bool SameBits(const Real* a, const Real* b, size_t count) {
  for (size_t i = 0; i < count; ++i)
    if (std::memcmp(&a[i], &b[i], 10) != 0) return false;
  return true;
}

void ExpectSameProject(const Project& opened, const Project& saved, const std::string& label) {
  for (const auto& [key, value] : saved) EXPECT_TRUE(opened.at(key) == value) << label << " " << key;
}

}  // namespace

// Random inputs in every window, the geometry's unit switched, a run, the project saved; opened
// in a fresh set of windows, every field, check and choice is as it was and the run gives every
// sample bit for bit: every project saved opens.
TEST(Project, EveryInputAndTheRunComeBackInFreshWindows) {
  ScopedWorkDir dir;
  const ScriptedDialogs dialogs(QStringLiteral("round.kovaro"));
  Program sane;
  LosslessDesign(sane);
  const Project defaults = CollectProject(sane);
  std::mt19937_64 random(19);
  Program saving;
  int32_t completed = 0;
  for (int i = 0; i < 1000; ++i) {
    // As a user would have typed them: wholly at random a third of the time, mostly a
    // runnable design otherwise; a few thousand points at most, so that runs are quick.
    Project inputs = RandomProject(random, &defaults, i % 3 == 0 ? 0.5 : 0.95);
    inputs["main.run.points"].integer = static_cast<int32_t>(random() % 4000) - 10;
    inputs["main.run.points"].text = FormatInt(inputs["main.run.points"].integer);
    ApplyProject(saving, inputs);
    // The lengths shown in another unit, as a user switches it (refused where one would overflow).
    if (random() % 2 != 0) {
      const ErrorRecorder refused;
      saving.Geometry().CBunit->setCurrentIndex(static_cast<int>(random() % 3));
    }
    // As in fresh windows: a refused run keeps the store as it was, a faulted one the rest of it.
    WaveformStore& store = saving.state->Store;
    std::fill(store.Time.begin(), store.Time.end(), 0);
    std::fill(store.Channels.begin(), store.Channels.end(), Sample{});
    store.SampleCount = 0;
    saving.state->Engine = {};
    const RunResult run = Simulate(saving);
    const Project saved = CollectProject(saving);  // a run may lower its points
    ASSERT_TRUE(saving.project->Save()) << i;
    Program opening;
    ASSERT_TRUE(opening.project->Open(QStringLiteral("round.kovaro"))) << i;
    ExpectSameProject(CollectProject(opening), saved, std::to_string(i));
    const RunResult again = Simulate(opening);
    EXPECT_EQ(again.boxes, run.boxes) << i;
    EXPECT_EQ(again.report, run.report) << i;
    ASSERT_EQ(again.count, run.count) << i;
    EXPECT_TRUE(SameBits(again.time.data(), run.time.data(), run.time.size())) << i;
    for (int32_t k = 0; k < run.count; ++k)
      ASSERT_TRUE(SameBits(again.channels[k].data(), run.channels[k].data(), kChannelCount))
          << i << " sample " << k;
    completed += run.boxes.empty() && run.count > 0;
  }
  EXPECT_GT(completed, 100);
}

// A design and the geometry window used, saved; the program started again on the file, as
// "kovaro FILE" does, runs to the same report lines. The title names the project and marks
// changes; closing with changes asks, and Cancel keeps the program.
TEST(Project, SavedAndOpenedAgainRunsAlike) {
  ScopedWorkDir dir;
  QStringList report;
  {
    ScriptedDialogs dialogs(QStringLiteral("coil"), UnsavedChoice::Cancel);
    Program p;
    LosslessDesign(p);
    Click(p.form1.Bgeometry);
    p.geometry->CBunit->setCurrentIndex(static_cast<int>(LengthUnit::Inch));
    Enter(p.geometry->NEsn, "1000");
    Click(p.geometry->Bcalc);
    Activate(&p.form1);
    Enter(p.form1.NEfin, "2.95e5");
    EXPECT_EQ(p.form1.windowTitle(), "Kovaro");  // no project yet
    QTest::keyClick(&p.form1, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(MemoLines(p.form1).last(), "Project saved as coil.kovaro");
    EXPECT_EQ(p.form1.windowTitle(), "coil.kovaro[*] - Kovaro");
    EXPECT_FALSE(p.form1.isWindowModified());
    Click(p.form1.Bplot);
    report = MemoLines(p.form1).mid(MemoLines(p.form1).size() - 6);
    Enter(p.form1.NEvin, "200");
    EXPECT_TRUE(p.form1.isWindowModified());
    EXPECT_FALSE(p.form1.close());  // Cancel
    EXPECT_EQ(dialogs.asked, std::vector<QString>{"coil.kovaro"});
    EXPECT_TRUE(p.form1.isVisible());
  }
  Program again;
  again.Start();
  ASSERT_TRUE(again.project->Open(QStringLiteral("coil.kovaro")));
  EXPECT_EQ(again.form1.NEfin->text(), "2.95e5");
  EXPECT_EQ(again.geometry->CBunit->currentIndex(), static_cast<int>(LengthUnit::Inch));
  EXPECT_EQ(again.geometry->NEsd->text(), "7.8740157480315");
  EXPECT_TRUE(again.form1.Bplot->isEnabled());
  EXPECT_EQ(again.state->DesignName, "tb373941");
  Click(again.form1.Bplot);
  EXPECT_EQ(MemoLines(again.form1).mid(MemoLines(again.form1).size() - 6), report);
}

// Bad files: each gets a box naming the file, the key and why, and no window changes.
TEST(Project, BadFilesChangeNothing) {
  ScopedWorkDir dir;
  Program p;
  LosslessDesign(p);
  ScriptedDialogs dialogs(QStringLiteral("good.kovaro"));
  ASSERT_TRUE(p.project->Save());
  const std::string good = ReadFile("good.kovaro");
  Enter(p.form1.NEfin, "123");  // unsaved, so that "changes nothing" means something
  const Project before = CollectProject(p);
  const QString report = p.form1.Memo1->toPlainText();
  const auto edited = [&](const std::string& from, const std::string& to) {
    std::string text = good;
    return text.replace(text.find(from), from.size(), to);
  };
  const std::pair<std::string, std::string> bad[] = {
      {"not JSON", "Cannot open bad.kovaro: not a JSON text (it breaks off or goes wrong at byte 2)"},
      {edited("kovaro-project", "other"),
       "Cannot open bad.kovaro: format: not a Kovaro project (\"kovaro-project\" is expected)"},
      {edited("\"version\": 1", "\"version\": 2"),
       "Cannot open bad.kovaro: version: the project is of version 2, newer than this Kovaro reads (version "
       "1)"},
      {edited("\"voltage\"", "\"volts\""), "Cannot open bad.kovaro: main.drive.voltage: missing."},
      {edited("\"turns\": {\n        \"value\": \"979\"", "\"turns\": {\n        \"value\": 979"),
       "Cannot open bad.kovaro: geometry.secondary.turns.value: a number written as a text is expected, not "
       "a "
       "number."},
      {edited("\"turns\": {\n        \"value\": \"979\"", "\"turns\": {\n        \"value\": \"97 9\""),
       "Cannot open bad.kovaro: geometry.secondary.turns.value: \"97 9\" is not a valid number."},
      {good.substr(0, good.size() - 40),
       "Cannot open bad.kovaro: not a JSON text (it breaks off or goes wrong at byte " +
           std::to_string(good.size() - 39) + ")"},
      {"", "Cannot open bad.kovaro: the file is empty."},
      {std::string(50 * 1024 * 1024, ' '),
       "Cannot open bad.kovaro: 52428800 bytes, larger than a project can be (at most 10485760)"},
  };
  for (const auto& [text, message] : bad) {
    std::ofstream("bad.kovaro", std::ios::binary | std::ios::trunc) << text;
    ErrorRecorder boxes;
    EXPECT_FALSE(p.project->Open(QStringLiteral("bad.kovaro")));
    EXPECT_EQ(boxes.texts, std::vector<std::string>{message});
    const Project after = CollectProject(p);
    for (const auto& [key, value] : before) EXPECT_TRUE(after.at(key) == value) << message << " " << key;
    EXPECT_EQ(p.form1.Memo1->toPlainText(), report);
  }
  EXPECT_EQ(p.project->Path().toStdString(), (dir.path() / "good.kovaro").string());
  // A key this version does not know: opened, with a note.
  std::ofstream("extra.kovaro", std::ios::binary)
      << edited("\"version\": 1", "\"version\": 1, \"comment\": \"mine\"");
  EXPECT_TRUE(p.project->Open(QStringLiteral("extra.kovaro")));
  EXPECT_EQ(MemoLines(p.form1).last(), "Keys of extra.kovaro this Kovaro does not know, left out: comment");
}

// The last projects, newest first and at most eight, open from the menu; a file dropped on the
// main window opens as well.
TEST(Project, RecentProjectsAndADroppedFile) {
  ScopedWorkDir dir;
  QSettings(QStringLiteral("Kovaro"), QStringLiteral("Kovaro")).remove(QStringLiteral("recentProjects"));
  Program p;
  LosslessDesign(p);
  for (int i = 0; i < 10; ++i) {
    ScriptedDialogs dialogs(QStringLiteral("p%1.kovaro").arg(i));
    ASSERT_TRUE(p.project->SaveAs());
  }
  p.form1.Brecent->menu()->aboutToShow();
  const QList<QAction*> items = p.form1.Brecent->menu()->actions();
  ASSERT_EQ(items.size(), 8);
  EXPECT_TRUE(items.front()->text().endsWith("/p9.kovaro")) << items.front()->text().toStdString();
  EXPECT_TRUE(items.back()->text().endsWith("/p2.kovaro"));
  Enter(p.form1.NEvin, "222");  // a change, then p5 from the menu: the change is dropped
  {
    ScriptedDialogs dialogs(QString(), UnsavedChoice::Discard);
    items[4]->trigger();
    EXPECT_EQ(dialogs.asked, std::vector<QString>{"p9.kovaro"});
  }
  EXPECT_EQ(p.form1.NEvin->text(), "180");
  EXPECT_TRUE(p.project->Path().endsWith("/p5.kovaro"));

  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(QString::fromStdString((dir.path() / "p7.kovaro").string()))});
  QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&p.form1, &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&p.form1, &drop);
  EXPECT_TRUE(p.project->Path().endsWith("/p7.kovaro"));
  EXPECT_EQ(p.form1.windowTitle(), "p7.kovaro[*] - Kovaro");
}

// "Copy summary": the design in plain text on the clipboard and in DesignName.txt.
TEST(Project, TheSummaryOfADesign) {
  ScopedWorkDir dir;
  Program p;
  LosslessDesign(p);
  Click(p.form1.Bgeometry);
  Activate(&p.form1);
  Click(p.form1.Bplot);
  Activate(&p.form1);
  Click(p.form1.Bsummary);
  EXPECT_EQ(MemoLines(p.form1).last(), "Summary saved as tb373941.txt");
  const QString text = QGuiApplication::clipboard()->text();
  const QStringList lines = text.split('\n', Qt::SkipEmptyParts);
  EXPECT_EQ(lines.front(), "Kovaro design tb373941");
  for (const char* line :
       {"Ca= 5.070000E-0009 F", "Lb= 2.820000E-0002 H", "Rb= 5.000000E+0005 Ohms (load removed)",
        "Mode 1: f=   279182.27474 Hz, no damping", "Secondary turns= 979.0000000000", "Last run:"})
    EXPECT_TRUE(lines.contains(QString::fromLatin1(line))) << line;
  EXPECT_TRUE(lines.filter(QRegularExpression("^Maximum VCb \\(V\\)= +-?[0-9.]+ at +[0-9.]+ us$")).size() ==
              1);
  EXPECT_TRUE(lines.filter(QRegularExpression("^Loaded secondary resonance=")).size() == 1);
  EXPECT_FALSE(text.contains('\t'));
  EXPECT_EQ(QString::fromStdString(ReadFile("tb373941.txt")), lines.join("\r\n") + "\r\n");
}
