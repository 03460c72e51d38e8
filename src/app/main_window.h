#pragma once

#include <QWidget>
#include <array>
#include <functional>

#include "simulation/engine.h"
#include "simulation/settings.h"
#include "state/app_state.h"

class QCheckBox;
class QPlainTextEdit;
class QPushButton;

namespace kovaro {

class RadioGroup;
class TForm2;
class TNEdit;

// The main window: the simulation settings, the report area and the buttons that open the
// other windows and start a run.
class TForm1 : public QWidget, public RunHost {
 public:
  explicit TForm1(AppState& state);

  // The windows the buttons show and a run repaints; they are created after this one.
  void SetWindows(TForm2* plot, QWidget* elements, QWidget* lossless, QWidget* lossy, QWidget* tesla);

  SimulationSettings ReadSettings() const;

  // RunHost.
  void LogLine(const std::string& text) override;
  void LogLines(const std::vector<std::string>& lines) override;
  void SetPoints(int32_t n) override;
  void EnableSaveReference() override;
  void ShowPlot() override;

  void BplotClick();
  void brefClick();
  void bdelrefClick();
  void Button2Click();

  // Controls, named as the program's documentation names them.
  QPushButton* Blossy;
  QPushButton* Button3;
  QPushButton* Button1;
  QPushButton* Belements;
  QPushButton* Bgeometry;   // opens the coil geometry window, created on first use
  QPushButton* Bfrequency;  // opens the frequency response window, created on first use
  QPushButton* Bsweep;      // opens the parameter sweep window, created on first use
  TNEdit* NEvin;
  QCheckBox* CBoffset;
  QCheckBox* CBdetails;
  QCheckBox* CBtrapezoidal;
  TNEdit* NEfin;
  TNEdit* NEtmax;
  TNEdit* NEvmax;
  QCheckBox* CBescala;
  TNEdit* NEpontos;
  QCheckBox* CBnoload;
  QCheckBox* CBsegue;
  TNEdit* NEstart;
  QPushButton* Bplot;
  QCheckBox* CBsalvar;
  RadioGroup* RGvin;
  QPushButton* bref;
  QPushButton* bdelref;
  QPushButton* Bsaveproject;  // the project buttons, under "Save reference"
  QPushButton* Bsaveprojectas;
  QPushButton* Bopenproject;
  QPushButton* Brecent;  // the last projects, as a menu
  QPushButton* Bsummary;
  QPushButton* Bdrive;  // opens the drive and bank window, created on first use
  TNEdit* NEtempo;
  TNEdit* NEmult;
  TNEdit* NEropen;
  QPushButton* Button2;
  TNEdit* NEcycles;
  TNEdit* NEatraso;
  TNEdit* NEvd;
  RadioGroup* RGstop;
  std::array<TNEdit*, kChannelCount> Scales;    // NEv, NEvca, NEila, NEvcb, NEilb, Nevla
  std::array<TNEdit*, kChannelCount> Offsets;   // NEovin, NEovca, NEoila, NEovcb, NEoilb, NEovla
  std::array<QCheckBox*, kChannelCount> Shown;  // CBVin, CBVCa, CBILa, CBVcb, CBILb, CBVLa
  QPlainTextEdit* Memo1;

  // Asked before the program ends: false keeps it running. Given a file dropped on the window.
  std::function<bool()> MayClose;
  std::function<void(const QString& path)> Dropped;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void BuildLeftColumn(const SimulationSettings& initial);
  void BuildRunSettings(const SimulationSettings& initial);
  void BuildDriverStop(const SimulationSettings& initial);
  void BuildScaling(const SimulationSettings& initial);
  void BuildProjectButtons();

  AppState& state_;
  TForm2* plot_ = nullptr;
};

// Shows a window modeless, or brings it to the front when it is shown already.
void ShowWindow(QWidget* window);

}  // namespace kovaro
