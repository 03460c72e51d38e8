#include "app/main_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFont>
#include <QLabel>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QUrl>

#include "plot/plot_window.h"
#include "shell/error_box.h"
#include "shell/help_text.h"
#include "shell/nedit.h"
#include "shell/radio_group.h"
#include "shell/widgets.h"
#include "simulation/driver.h"
#include "simulation/waveform_store.h"

namespace kovaro {

TForm1::TForm1(AppState& state) : state_(state) {
  InitWindow(this, "TForm1", QStringLiteral("Kovaro"), 732, 671);
  // The frames first, so that the controls they enclose lie above them.
  MakeFrame(this, 152, 8, 561, 353);
  MakeFrame(this, 352, 16, 353, 153);
  MakeFrame(this, 504, 176, 201, 177);
  // Every control starts from the settings' defaults, so that a first run reads them back.
  const SimulationSettings initial;
  BuildLeftColumn(initial);
  BuildRunSettings(initial);
  BuildDriverStop(initial);
  BuildScaling(initial);
  BuildProjectButtons();
  setAcceptDrops(true);

  Memo1 = new QPlainTextEdit(this);
  Memo1->setObjectName(QStringLiteral("Memo1"));
  Memo1->setGeometry(8, 368, 705, 257);
  QFont fixed(QStringLiteral("Courier New"), 8);
  fixed.setStyleHint(QFont::Monospace);
  Memo1->setFont(fixed);
  Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
  TabLeaves(Memo1);
  Memo1->setPlainText(QString::fromStdString(HelpText()));

  connect(Bplot, &QPushButton::clicked, this, [this] { BplotClick(); });
  connect(bref, &QPushButton::clicked, this, [this] { brefClick(); });
  connect(bdelref, &QPushButton::clicked, this, [this] { bdelrefClick(); });
  connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });

  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    move(area.center().x() - 732 / 2, area.center().y() - 671 / 2);
  }
}

void TForm1::BuildLeftColumn(const SimulationSettings& initial) {
  Blossy = MakeButton(this, "Blossy", QStringLiteral("Lossy design"), 8, 8, 137);
  Button3 = MakeButton(this, "Button3", QStringLiteral("Lossless design"), 8, 40, 137);
  QPalette red = Button3->palette();
  red.setColor(QPalette::ButtonText, Qt::red);
  Button3->setPalette(red);
  Button1 = MakeButton(this, "Button1", QStringLiteral("Regular Tesla coil"), 8, 72, 137);
  Belements = MakeButton(this, "Belements", QStringLiteral("Edit elements"), 8, 104, 137);
  Bsweep = MakeButton(this, "Bsweep", QStringLiteral("Parameter sweep"), 8, 134, 137);
  Bsweep->resize(137, 21);  // between "Edit elements" and the label below
  MakeLabel(this, QStringLiteral("Input voltage (V peak)"), 8, 157);
  NEvin = MakeField(this, "NEvin", 8, 176, 100, initial.InputVoltage);
  CBoffset = MakeCheck(this, "CBoffset", QStringLiteral("Add offset to Vin"), 8, 208, initial.AddOffset);
  CBdetails = MakeCheck(this, "CBdetails", QStringLiteral("List details"), 8, 232, initial.ListDetails);
  CBtrapezoidal = MakeCheck(this, "CBtrapezoidal", QStringLiteral("Trapezoidal integration"), 8, 256,
                            initial.Trapezoidal);
  CBtrapezoidal->setToolTip(QStringLiteral("Better precision"));
  Bgeometry = MakeButton(this, "Bgeometry", QStringLiteral("Coil geometry"), 8, 296, 137);
  Bfrequency = MakeButton(this, "Bfrequency", QStringLiteral("Frequency response"), 8, 328, 137);
}

void TForm1::BuildRunSettings(const SimulationSettings& initial) {
  MakeLabel(this, QStringLiteral("Input frequency (Hz)"), 160, 16);
  NEfin = MakeField(this, "NEfin", 272, 16, 76, initial.InputFrequency);
  MakeLabel(this, QStringLiteral("Final time (s)"), 160, 40);
  NEtmax = MakeField(this, "NEtmax", 272, 40, 76, initial.FinalTime);
  MakeLabel(this, QStringLiteral("Maximum V/I (V ou A)"), 160, 64);
  NEvmax = MakeField(this, "NEvmax", 272, 64, 76, initial.Maximum);
  CBescala = MakeCheck(this, "CBescala", QStringLiteral("Use maximum"), 160, 88, initial.UseMaximum);
  MakeLabel(this, QStringLiteral("Points"), 160, 104);
  NEpontos = MakeField(this, "NEpontos", 272, 104, 76, 0, initial.Points, int_field);
  NEpontos->setToolTip(QStringLiteral("Use more points for greater precision"));
  CBnoload = MakeCheck(this, "CBnoload", QStringLiteral("Remove load"), 160, 128, initial.RemoveLoad);
  CBsegue = MakeCheck(this, "CBsegue", QStringLiteral("Use primary current feedback after t="), 160, 184,
                      initial.Feedback);
  // The caption ends before the field at 360: the indicator's gap narrowed, the box ending at
  // the field.
  CBsegue->setStyleSheet(QStringLiteral("QCheckBox { spacing: 2px; }"));
  CBsegue->resize(200, CBsegue->height());
  NEstart = MakeField(this, "NEstart", 360, 176, 80, initial.FeedbackStart);
  Bplot = MakeButton(this, "Bplot", QStringLiteral("Simulate and plot"), 160, 208, 97);
  Bplot->setEnabled(false);
  CBsalvar = MakeCheck(this, "CBsalvar", QStringLiteral("Save table"), 160, 240, initial.SaveTable);
  RGvin = new RadioGroup(QStringLiteral("Vin"),
                         {QStringLiteral("Sine"), QStringLiteral("Cosine"), QStringLiteral("Squared sine"),
                          QStringLiteral("Squared cosine")},
                         2, this);
  RGvin->setObjectName(QStringLiteral("RGvin"));
  RGvin->setGeometry(264, 208, 233, 60);
  RGvin->setItemIndex(static_cast<int>(initial.VinWaveform));
  bref = MakeButton(this, "bref", QStringLiteral("Save reference"), 264, 272, 100);
  bref->setEnabled(false);
  bdelref = MakeButton(this, "bdelref", QStringLiteral("Delete reference"), 368, 272, 100);
  bdelref->setEnabled(false);
}

void TForm1::BuildDriverStop(const SimulationSettings& initial) {
  MakeLabel(this, QStringLiteral("Stop time (s)"), 360, 24);
  NEtempo = MakeField(this, "NEtempo", 432, 24, 80, initial.StopTime);
  MakeLabel(this, QStringLiteral("Multiply vin by"), 360, 48);
  NEmult = MakeField(this, "NEmult", 432, 48, 80, initial.StopMultiplier);
  MakeLabel(this, QStringLiteral("R open driver"), 360, 72);
  NEropen = MakeField(this, "NEropen", 432, 72, 80, initial.OpenResistance);
  NEropen->setToolTip(QStringLiteral("Across open driver. Too high values cause numerical instability!"));
  Button2 = MakeButton(this, "Button2", QStringLiteral("Set stop time to"), 360, 112, 100);
  NEcycles = MakeField(this, "NEcycles", 464, 112, 60, initial.StopCycles);
  MakeLabel(this, QStringLiteral("cycles"), 528, 112);
  MakeLabel(this, QStringLiteral("Driver turn-off delay"), 360, 136);
  NEatraso = MakeField(this, "NEatraso", 464, 136, 60, initial.TurnOffDelay);
  MakeLabel(this, QStringLiteral("Diode drop"), 560, 136);
  NEvd = MakeField(this, "NEvd", 616, 136, 84, initial.DiodeDrop);
  RGstop = new RadioGroup(QStringLiteral("After stopping driver"),
                          {QStringLiteral("Open driver"), QStringLiteral("Short-circuit driver"),
                           QStringLiteral("Open w/free-wheeling diodes"), QStringLiteral("Multiply vin")},
                          1, this);
  RGstop->setObjectName(QStringLiteral("RGstop"));
  RGstop->setGeometry(520, 24, 180, 88);
  RGstop->setItemIndex(static_cast<int>(initial.AfterStop));
}

void TForm1::BuildScaling(const SimulationSettings& initial) {
  MakeLabel(this, QStringLiteral("Scaling factors and offsets:"), 512, 177);
  struct Row {
    const char* label;
    Channel channel;
    const char* scale;
    const char* offset;
    const char* shown;
  };
  const Row rows[] = {
      {"ILa:", ILa, "NEila", "NEoila", "CBILa"}, {"VCa:", VCa, "NEvca", "NEovca", "CBVCa"},
      {"VLa:", VLa, "Nevla", "NEovla", "CBVLa"}, {"ILb", ILb, "NEilb", "NEoilb", "CBILb"},
      {"VCb", VCb, "NEvcb", "NEovcb", "CBVcb"},  {"Vin:", Vin, "NEv", "NEovin", "CBVin"},
  };
  int y = 200;
  for (const Row& row : rows) {
    const Channel c = row.channel;
    MakeLabel(this, QString::fromLatin1(row.label), 510, y);
    Scales[c] = MakeField(this, row.scale, 544, y, 60, initial.Scale[c]);
    Offsets[c] = MakeField(this, row.offset, 608, y, 60, initial.Offset[c]);
    Shown[c] = MakeCheck(this, row.shown, QString(), 672, y + 2, initial.Shown[c]);
    y += 24;
  }
  Scales[ILa]->setToolTip(QStringLiteral("Scaling factor for currents"));
}

void TForm1::BuildProjectButtons() {
  Bsaveproject = MakeButton(this, "Bsaveproject", QStringLiteral("Save project"), 160, 300, 100);
  Bsaveprojectas = MakeButton(this, "Bsaveprojectas", QStringLiteral("Save project as..."), 264, 300, 100);
  Bopenproject = MakeButton(this, "Bopenproject", QStringLiteral("Open project..."), 368, 300, 100);
  Bsummary = MakeButton(this, "Bsummary", QStringLiteral("Copy summary"), 264, 328, 100);
  Bdrive = MakeButton(this, "Bdrive", QStringLiteral("Drive and bank"), 160, 328, 100);
  Brecent = MakeButton(this, "Brecent", QStringLiteral("Recent projects"), 368, 328, 100);
  Bsaveproject->setToolTip(QStringLiteral("Every input of every window as a .kovaro file (Ctrl+S)"));
  Bopenproject->setToolTip(QStringLiteral("Ctrl+O; a .kovaro file dropped on this window opens too"));
}

void TForm1::SetWindows(TForm2* plot, QWidget* elements, QWidget* lossless, QWidget* lossy, QWidget* tesla) {
  plot_ = plot;
  connect(Blossy, &QPushButton::clicked, this, [lossy] { ShowWindow(lossy); });
  connect(Button3, &QPushButton::clicked, this, [lossless] { ShowWindow(lossless); });
  connect(Button1, &QPushButton::clicked, this, [tesla] { ShowWindow(tesla); });
  connect(Belements, &QPushButton::clicked, this, [elements] { ShowWindow(elements); });
}

SimulationSettings TForm1::ReadSettings() const {
  SimulationSettings s;
  s.VinWaveform = static_cast<Waveform>(RGvin->itemIndex());
  s.InputVoltage = NEvin->panel_real();
  s.InputFrequency = NEfin->panel_real();
  s.Feedback = CBsegue->isChecked();
  s.FeedbackStart = NEstart->panel_real();
  s.AddOffset = CBoffset->isChecked();
  s.StopTime = NEtempo->panel_real();
  s.TurnOffDelay = NEatraso->panel_real();
  s.AfterStop = static_cast<StopMode>(RGstop->itemIndex());
  s.OpenResistance = NEropen->panel_real();
  s.DiodeDrop = NEvd->panel_real();
  s.StopMultiplier = NEmult->panel_real();
  s.StopCycles = NEcycles->panel_real();
  s.FinalTime = NEtmax->panel_real();
  s.Points = NEpontos->panel_int();
  s.Trapezoidal = CBtrapezoidal->isChecked();
  s.RemoveLoad = CBnoload->isChecked();
  s.UseMaximum = CBescala->isChecked();
  s.Maximum = NEvmax->panel_real();
  s.SaveTable = CBsalvar->isChecked();
  s.ListDetails = CBdetails->isChecked();
  for (int c = 0; c < kChannelCount; ++c) {
    s.Scale[c] = Scales[c]->panel_real();
    s.Offset[c] = Offsets[c]->panel_real();
    s.Shown[c] = Shown[c]->isChecked();
  }
  return s;
}

void TForm1::LogLine(const std::string& text) {
  Memo1->appendPlainText(QString::fromStdString(text));
  Memo1->moveCursor(QTextCursor::End);  // the newest line in sight
  Memo1->ensureCursorVisible();
}

void TForm1::LogLines(const std::vector<std::string>& lines) {
  if (lines.empty()) return;
  QStringList texts;
  for (const std::string& line : lines) texts.append(QString::fromStdString(line));
  Memo1->appendPlainText(texts.join(QLatin1Char('\n')));  // one paragraph a line, one layout
  Memo1->moveCursor(QTextCursor::End);
  Memo1->ensureCursorVisible();
}

void TForm1::SetPoints(int32_t n) { NEpontos->setPanelInt(n); }

void TForm1::EnableSaveReference() { bref->setEnabled(true); }

void TForm1::ShowPlot() {
  plot_->PaintBox1->update();
  ShowWindow(plot_);
}

void TForm1::BplotClick() {
  Guarded(this, [this] { RunSimulation(state_, ReadSettings(), *this); });
}

void TForm1::brefClick() {
  SaveReference(state_.Store);
  state_.Store.ReferenceShown = true;
  bdelref->setEnabled(true);
}

void TForm1::bdelrefClick() {
  state_.Store.ReferenceShown = false;
  bdelref->setEnabled(false);
}

void TForm1::Button2Click() {
  Guarded(this, [this] { NEtempo->setPanelReal(StopTimeFor(ReadSettings())); });
}

void TForm1::closeEvent(QCloseEvent* event) {
  if (MayClose && !MayClose()) {
    event->ignore();
    return;
  }
  event->accept();
  QApplication::quit();  // the program ends with its main window, whatever else is shown
}

namespace {

// The first local file of a drag, or nothing.
QString DroppedFile(const QMimeData* data) {
  for (const QUrl& url : data->urls())
    if (url.isLocalFile()) return url.toLocalFile();
  return QString();
}

}  // namespace

void TForm1::dragEnterEvent(QDragEnterEvent* event) {
  if (Dropped && !DroppedFile(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void TForm1::dropEvent(QDropEvent* event) {
  const QString path = DroppedFile(event->mimeData());
  if (!Dropped || path.isEmpty()) return;
  event->acceptProposedAction();
  Dropped(path);
}

void ShowWindow(QWidget* window) {
  window->show();
  window->raise();
  window->activateWindow();
}

}  // namespace kovaro
