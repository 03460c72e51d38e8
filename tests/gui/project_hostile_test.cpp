// Projects and the later windows under hostile use: files that are not projects, what is not a
// file, lengths through unit changes, and the texts the windows give.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QComboBox>
#include <QFileDialog>
#include <QLineSeries>
#include <QMenu>
#include <QMessageBox>
#include <QSettings>
#include <QTimer>
#include <QWindow>
#include <cfloat>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "app/project_actions.h"
#include "app/project_binding.h"
#include "geometry/mode_chart.h"
#include "gui_helpers.h"
#include "shell/nedit.h"
#include "shell/numeric_text.h"
#include "simulation/run_host_fake.h"
#include "sweep/sweep_chart.h"

using namespace kovaro;

namespace {

// Answers the project dialogs: saves to and opens `path`, drops unsaved changes; records the
// name the save dialog proposed.
class Dialogs {
 public:
  explicit Dialogs(QString path)
      : old_(SetProjectDialogs({[this](QWidget*, bool, const QString& start) {
                                  proposed = start;
                                  return path_;
                                },
                                [](QWidget*, const QString&) { return UnsavedChoice::Discard; }})),
        path_(std::move(path)) {}
  ~Dialogs() { SetProjectDialogs(old_); }
  QString proposed;

 private:
  ProjectDialogs old_;
  QString path_;
};

void WriteText(const std::string& name, const std::string& text) {
  std::ofstream(name, std::ios::binary | std::ios::trunc) << text;
}

// A text with its first occurrence of `from` replaced.
std::string Edited(std::string text, const std::string& from, const std::string& to) {
  const size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

// A design saved as good.kovaro, then a field changed, so that "nothing changes" means something.
struct Saved {
  Saved() : dialogs(QStringLiteral("good.kovaro")) {
    LosslessDesign(p);
    EXPECT_TRUE(p.project->Save());
    good = ReadFile("good.kovaro");
    Enter(p.form1.NEfin, "123");
    before = CollectProject(p);
    report = p.form1.Memo1->toPlainText();
  }
  void ExpectUnchanged(const std::string& label) {
    const Project after = CollectProject(p);
    for (const auto& [key, value] : before) EXPECT_TRUE(after.at(key) == value) << label << " " << key;
    EXPECT_EQ(p.form1.Memo1->toPlainText(), report) << label;
  }
  Program p;
  Dialogs dialogs;
  std::string good;
  Project before;
  QString report;
};

std::vector<std::string> OpenBoxes(Program& p, const QString& path) {
  ErrorRecorder boxes;
  EXPECT_FALSE(p.project->Open(path));
  return boxes.texts;
}

}  // namespace

// Lists nested 100000 deep once killed the program; a pipe froze it for good, in reading and in
// writing; a device read as an empty file. Each is refused at once and changes nothing,
// from "Open project..." and from "Recent projects".
TEST(ProjectHostile, DeepNestingAndWhatIsNotAFileChangeNothing) {
  ScopedWorkDir dir;
  Saved s;
  const std::string deep =
      "{\"zz\":" + std::string(100000, '[') + std::string(100000, ']') + "," + s.good.substr(1);
  WriteText("zz.kovaro", deep);
  const std::vector<std::string> nested{
      "Cannot open zz.kovaro: groups and lists nested deeper than a project's (at most 16 levels)"};
  EXPECT_EQ(OpenBoxes(s.p, QStringLiteral("zz.kovaro")), nested);
  s.ExpectUnchanged("nested");
  ASSERT_EQ(::mkfifo("pipe.kovaro", 0600), 0);
  std::filesystem::create_symlink("/dev/zero", "zero.kovaro");
  for (const char* name : {"pipe.kovaro", "zero.kovaro"}) {
    EXPECT_EQ(OpenBoxes(s.p, QString::fromLatin1(name)),
              std::vector<std::string>{std::string("Cannot open ") + name + ": not a regular file."});
    s.ExpectUnchanged(name);
  }
  {
    ErrorRecorder boxes;
    const Dialogs onto_pipe(QStringLiteral("pipe.kovaro"));
    EXPECT_FALSE(s.p.project->SaveAs());
    EXPECT_EQ(boxes.texts, std::vector<std::string>{"Cannot write pipe.kovaro: not a regular file."});
  }
  // A project opened before, its file replaced by the nested one, from the recent projects.
  std::filesystem::copy_file("good.kovaro", "recent.kovaro");
  ASSERT_TRUE(s.p.project->Open(QStringLiteral("recent.kovaro")));
  Enter(s.p.form1.NEfin, "123");
  s.before = CollectProject(s.p);
  s.report = s.p.form1.Memo1->toPlainText();
  WriteText("recent.kovaro", deep);
  s.p.form1.Brecent->menu()->aboutToShow();
  ErrorRecorder boxes;
  s.p.form1.Brecent->menu()->actions().front()->trigger();
  EXPECT_EQ(boxes.texts, std::vector<std::string>{"Cannot open recent.kovaro: groups and lists nested deeper "
                                                  "than a project's (at most 16 levels)"});
  s.ExpectUnchanged("recent");
}

// Every length field at the ends of the 80-bit range, through every unit and back, then saved
// and opened: a switch that would overflow a length is refused naming the field and keeps the
// unit; the lengths stay in metres bit for bit; every project saved opens.
TEST(ProjectHostile, LengthsThroughUnitChangesAtTheExtremes) {
  ScopedWorkDir dir;
  const Dialogs dialogs(QStringLiteral("units.kovaro"));
  Program p;
  p.Start();
  Program opening;
  TFgeometry& g = p.Geometry();
  std::vector<TNEdit*> lengths;
  for (TNEdit* field : g.findChildren<TNEdit*>())
    if (field->caption().endsWith(" (m)")) lengths.push_back(field);
  ASSERT_EQ(lengths.size(), 13u);
  const Real values[] = {LDBL_MAX, -1e4932L, 1e4930L, LDBL_TRUE_MIN, -0.0L, 0.68L};
  // The lengths the window computes with, as their ten bytes.
  const auto metres = [&g] {
    const CoilGeometry c = g.Read();
    const Real kept[] = {c.secondary.diameter, c.secondary.height,  c.secondary.wire, c.secondary.base,
                         c.top_major,          c.top_minor,         c.top_height,     c.primary.radius,
                         c.primary.spacing,    c.primary.conductor, c.primary.height, c.ceiling,
                         c.form_wall};
    std::string bytes;
    for (const Real& x : kept) bytes.append(reinterpret_cast<const char*>(&x), 10);
    return bytes;
  };
  int refused = 0;
  for (TNEdit* field : lengths) {
    for (const Real value : values) {
      g.CBunit->setCurrentIndex(0);
      field->setPanelReal(value);
      const std::string before = metres();
      for (const int unit : {1, 2, 0, 2, 1, 0}) {
        ErrorRecorder boxes;
        const int was = g.CBunit->currentIndex();
        g.CBunit->setCurrentIndex(unit);
        if (!boxes.texts.empty()) {
          ++refused;
          EXPECT_EQ(boxes.texts.front(), field->caption().toStdString() + "=" +
                                             GeneralText(field->panel_real()) + " cannot be shown in " +
                                             (unit == 1 ? "mm" : "in") +
                                             ": it would be beyond the largest number a field holds.");
          EXPECT_EQ(g.CBunit->currentIndex(), was);
        }
        EXPECT_EQ(metres(), before) << field->objectName().toStdString();
        ASSERT_TRUE(p.project->Save());
        ErrorRecorder opened;
        ASSERT_TRUE(opening.project->Open(QStringLiteral("units.kovaro"))) << opened.texts.front();
        EXPECT_EQ(opening.Geometry().CBunit->currentIndex(), g.CBunit->currentIndex());
      }
    }
    field->setPanelReal(0.5L);  // back to a modest length, so that the next field's switches go through
  }
  EXPECT_GT(refused, 0);
  // Dozens of switches leave a length as typed.
  Enter(g.NEsh, "0.68");
  const std::string typed = metres();
  for (int i = 0; i < 40; ++i) g.CBunit->setCurrentIndex(i % 3);
  g.CBunit->setCurrentIndex(0);
  EXPECT_EQ(metres(), typed);
  EXPECT_EQ(g.NEsh->panel_real(), 0.68L);
}

// The save dialog adds the suffix itself, so that its question about replacing a file is about
// the file written: "old" typed, "old.kovaro" there.
TEST(ProjectHostile, TheSaveDialogAsksAboutTheFileItWrites) {
  ScopedWorkDir dir;
  WriteText("old.kovaro", "{}");
  const std::unique_ptr<QFileDialog> dialog(
      MakeSaveDialog(nullptr, QString::fromStdString((dir.path() / "untitled.kovaro").string())));
  dialog->setOption(QFileDialog::DontUseNativeDialog);
  EXPECT_EQ(dialog->defaultSuffix(), "kovaro");
  dialog->show();
  auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
  ASSERT_NE(name, nullptr);
  name->setText(QStringLiteral("old"));
  QString asked;
  QTimer::singleShot(0, [&asked] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      asked = box->text();
      box->reject();
    }
  });
  static_cast<QDialog*>(dialog.get())->accept();  // as its Save button does
  EXPECT_TRUE(asked.contains(QStringLiteral("old.kovaro"))) << asked.toStdString();
  EXPECT_EQ(ReadFile("old.kovaro"), "{}");
  dialog->reject();
}

// A field's text that is not its value, and elements the element window does not show.
TEST(ProjectHostile, TextsAndElementsThatDisagree) {
  ScopedWorkDir dir;
  Saved s;
  const std::string voltage = "\"voltage\": {\n        \"value\": \"180\"\n      }";
  WriteText("text.kovaro",
            Edited(s.good, voltage, "\"voltage\": {\"value\": \"180\", \"text\": \"garbage\"}"));
  EXPECT_EQ(
      OpenBoxes(s.p, QStringLiteral("text.kovaro")),
      std::vector<std::string>{
          "Cannot open text.kovaro: main.drive.voltage.text: \"garbage\" does not read as the value 180."});
  s.ExpectUnchanged("text");
  // A text typed and not yet left in another window is not the field's value: the value is
  // saved. Typed into the field that has the focus, it counts, as if a button took the focus.
  s.p.form3.NEkab->setText(QStringLiteral("0.5"));
  Type(s.p.form1.NEvin, "250");
  QTest::keyClick(&s.p.form1, Qt::Key_S, Qt::ControlModifier);
  Program opened;
  ASSERT_TRUE(opened.project->Open(QStringLiteral("good.kovaro")));
  EXPECT_EQ(opened.form1.NEvin->text(), "250");
  EXPECT_EQ(opened.form1.NEvin->panel_real(), 250);
  EXPECT_EQ(opened.form3.NEkab->panel_real(), s.p.form3.NEkab->panel_real());
  EXPECT_EQ(opened.form3.NEkab->text().toStdString(), GeneralText(s.p.form3.NEkab->panel_real()));
  // The element window's kab changed and not applied: opened with a line that says so.
  const std::string kab = "\"kab\": {\n      \"value\": \"";
  const size_t at = s.good.find(kab);
  ASSERT_NE(at, std::string::npos);
  WriteText("kab.kovaro", Edited(s.good, s.good.substr(at, s.good.find('"', at + kab.size()) - at),
                                 "\"kab\": {\n      \"value\": \"0.117"));
  ErrorRecorder boxes;
  ASSERT_TRUE(s.p.project->Open(QStringLiteral("kab.kovaro")));
  EXPECT_TRUE(MemoLines(s.p.form1).last().startsWith(
      "Element values of kab.kovaro not applied, the circuit keeps its own: kab 0.117 (circuit "))
      << MemoLines(s.p.form1).last().toStdString();
}

// Opening a project while a sweep runs would change its settings under it: refused.
TEST(ProjectHostile, NoProjectOpensUnderARunningSweep) {
  ScopedWorkDir dir;
  Saved s;
  TFsweep& w = s.p.SweepWindow();
  w.NEscount->setPanelInt(10000);
  Click(w.Bsweeprun);
  ASSERT_TRUE(w.Running());
  const Project sweeping = CollectProject(s.p);
  EXPECT_EQ(OpenBoxes(s.p, QStringLiteral("good.kovaro")),
            std::vector<std::string>{"Cannot open good.kovaro while a sweep runs: cancel the sweep first."});
  {
    ErrorRecorder boxes;
    s.p.project->OpenChosen();
    EXPECT_EQ(boxes.texts,
              std::vector<std::string>{"Cannot open a project while a sweep runs: cancel the sweep first."});
  }
  const Project after = CollectProject(s.p);
  for (const auto& [key, value] : sweeping) EXPECT_TRUE(after.at(key) == value) << key;
  Click(w.Bsweepcancel);
  QTRY_VERIFY(!w.Running());
  EXPECT_TRUE(s.p.project->Open(QStringLiteral("good.kovaro")));
}

// The drive window: the streamer load applied twice is applied once; a VCa shown through an
// offset that swamps its samples gives the figures of the same run shown plainly.
TEST(ProjectHostile, TheDriveWindowTakesTheRunAndTheSecondaryAsTheyAre) {
  ScopedWorkDir dir;
  Program p;
  LosslessDesign(p);
  Click(p.form1.Bdrive);
  TFdrive& w = *p.drive;
  const Real cb = p.state->Elements.Cb;
  Click(w.Bdapply);
  Click(w.Bdapply);
  EXPECT_EQ(p.state->Elements.Cb, cb + 3.3e-12L);
  EXPECT_EQ(p.form3.NEcb->panel_real(), cb + 3.3e-12L);
  EXPECT_EQ(MemoLines(p.form1).filter("Cb without the streamers=").last(),
            QString::fromStdString("Cb without the streamers=" + FormatReal(cb, 15, -1) + " F"));

  const auto figures = [&p, &w] {
    Activate(&p.form1);
    Click(p.form1.Bplot);
    Activate(&w);
    const qsizetype from = MemoLines(p.form1).size();
    Click(w.Bdcalc);
    return MemoLines(p.form1).mid(from);
  };
  const QStringList plain = figures();
  Activate(&p.form1);
  Enter(p.form1.Scales[VCa], "-1e-4000");
  Enter(p.form1.Offsets[VCa], "1e4000");
  const QStringList swamped = figures();
  EXPECT_EQ(swamped, plain);
  EXPECT_TRUE(plain.filter("dV/dt per capacitor=").first() != "dV/dt per capacitor=        0.00000 V/us");
}

// A busy cursor over what takes long; a primary far away refused at once by its range; a
// sweep's rows appended to the report in one go.
TEST(ProjectHostile, LongActionsShowTheBusyCursorAndRowsComeInOneGo) {
  ScopedWorkDir dir;
  Program p;
  LosslessDesign(p);
  TFgeometry& g = p.Geometry();
  std::vector<bool> busy;
  const auto record = [&busy] {
    const QCursor* cursor = QApplication::overrideCursor();
    busy.push_back(cursor != nullptr && cursor->shape() == Qt::WaitCursor);
  };
  const QMetaObject::Connection report =
      QObject::connect(p.form1.Memo1, &QPlainTextEdit::textChanged, record);
  QObject::connect(p.form3.NEcb, &QLineEdit::textChanged, record);
  QObject::connect(p.flossless.NECb, &QLineEdit::textChanged, record);
  Activate(&g);
  Click(g.Bcalc);
  Click(g.Buse);
  Click(g.Bsend);
  EXPECT_GE(busy.size(), 14u);
  EXPECT_EQ(std::count(busy.begin(), busy.end(), false), 0);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  QObject::disconnect(report);
  {
    ErrorRecorder boxes;
    Enter(g.NEph, "1e4932");
    Click(g.Bcalc);
    EXPECT_EQ(boxes.texts,
              std::vector<std::string>{"Height above winding start (m) must lie within 100 times "
                                       "the winding height plus the diameter of the winding start."});
  }
  Activate(&p.form1);
  Enter(p.form1.NEtmax, "1e-5");
  Enter(p.form1.NEpontos, "500");
  TFsweep& w = p.SweepWindow();
  w.NEscount->setPanelInt(2000);
  int appended = 0;
  const int lines = p.form1.Memo1->blockCount();
  Click(w.Bsweeprun);
  QObject::connect(p.form1.Memo1, &QPlainTextEdit::textChanged, [&appended] { ++appended; });
  QTRY_VERIFY_WITH_TIMEOUT(!w.Running(), 60000);
  EXPECT_GE(p.form1.Memo1->blockCount() - lines, 2003);
  EXPECT_LE(appended, 3);
}

// The texts a user meets: visible names before any design, a gauge dropped once another diameter
// is typed, a NUL shown in a refusal, a link saved through, the surroundings in the summary, "[*]"
// in a title, a mode chart of a coil no longer shown, a project gone from the recent ones once
// it is gone, an empty name.
TEST(ProjectHostile, TheTextsAUserMeets) {
  ScopedWorkDir dir;
  QSettings(QStringLiteral("Kovaro"), QStringLiteral("Kovaro")).remove(QStringLiteral("recentProjects"));
  Program p;
  p.Start();
  {
    Dialogs dialogs(QStringLiteral("first.kovaro"));
    ASSERT_TRUE(p.project->SaveAs());
    EXPECT_EQ(dialogs.proposed, "untitled.kovaro");
  }
  Click(p.form1.Bsummary);
  EXPECT_EQ(MemoLines(p.form1).last(), "Summary saved as untitled.txt");
  EXPECT_TRUE(std::filesystem::exists("untitled.txt"));

  TFgeometry& g = p.Geometry();
  g.CBawg->setCurrentIndex(21);  // gauge 14, as a user chooses it
  emit g.CBawg->activated(21);
  EXPECT_EQ(g.CBawg->currentIndex(), 21);
  Type(g.NEsw, "0.0005");
  EXPECT_EQ(g.CBawg->currentIndex(), 0);
  Leave(g.NEsw);

  Enter(g.NEceil, "5");
  Activate(&p.form1);
  Click(p.form1.Bsummary);
  EXPECT_TRUE(ReadFile("untitled.txt").find("Grounded ceiling above floor=   5.0000000000 m\r\n") !=
              std::string::npos);

  std::filesystem::create_directory("real");
  std::filesystem::create_symlink("real/target.kovaro", "link.kovaro");
  {
    Dialogs dialogs(QStringLiteral("link.kovaro"));
    ASSERT_TRUE(p.project->SaveAs());
  }
  EXPECT_TRUE(std::filesystem::is_symlink("link.kovaro"));
  EXPECT_TRUE(std::filesystem::is_regular_file("real/target.kovaro"));

  {
    Dialogs dialogs(QStringLiteral("a[*]b.kovaro"));
    ASSERT_TRUE(p.project->SaveAs());
  }
  EXPECT_EQ(p.form1.windowHandle()->title(), "a[*]b.kovaro - Kovaro");
  Enter(p.form1.NEvin, "200");
  EXPECT_EQ(p.form1.windowHandle()->title(), "a[*]b.kovaro* - Kovaro");

  const std::string saved = ReadFile("a[*]b.kovaro");
  WriteText("nul.kovaro", Edited(saved, "\"design_name\": \"\"", "\"design_name\": \"tb\\u0000x\""));
  const std::vector<std::string> nul = OpenBoxes(p, QStringLiteral("nul.kovaro"));
  ASSERT_EQ(nul.size(), 1u);
  EXPECT_EQ(nul.front().substr(0, 47), "Cannot open nul.kovaro: design_name: \"tb\\x00x\" ");
  EXPECT_TRUE(nul.front().ends_with("at most 100)")) << nul.front();

  // The mode chart of a coil changed, or refused, shows nothing.
  Activate(&g);
  Click(g.Bcalc);
  EXPECT_GT(g.Modes->Voltage->count(), 0);
  Enter(g.NEsd, "1e-9");
  EXPECT_EQ(g.Modes->Voltage->count(), 0);
  {
    ErrorRecorder boxes;
    Click(g.Bcalc);
    EXPECT_EQ(boxes.texts.size(), 1u);
  }
  EXPECT_EQ(g.Modes->Voltage->count(), 0);

  // A project deleted leaves the recent ones when it cannot be opened.
  std::filesystem::remove("first.kovaro");
  p.form1.Brecent->menu()->aboutToShow();
  QAction* first = p.form1.Brecent->menu()->actions().back();
  ASSERT_TRUE(first->text().endsWith("/first.kovaro"));
  {
    const Dialogs dialogs{QString()};
    ErrorRecorder boxes;
    first->trigger();
    EXPECT_EQ(boxes.texts, std::vector<std::string>{"Cannot open first.kovaro: File not found."});
  }
  p.form1.Brecent->menu()->aboutToShow();
  for (QAction* item : p.form1.Brecent->menu()->actions())
    EXPECT_FALSE(item->text().endsWith("/first.kovaro"));
  EXPECT_EQ(OpenBoxes(p, QString()),
            std::vector<std::string>{"Cannot open a project: the file name is empty."});
}
