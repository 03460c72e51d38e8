#include "app/program.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeySequence>
#include <QPushButton>
#include <QShortcut>

#include "project/summary.h"
#include "shell/error_box.h"
#include "shell/widgets.h"

namespace kovaro {

Program::Program()
    : state(std::make_unique<AppState>()),
      form1(*state),
      form2(*state, form1),
      form3(state->Elements, form1.Bplot),
      flossless(*state, form1, form3),
      flossy(*state, form1, form3),
      form4(*state, form1, form3) {
  form1.SetWindows(&form2, &form3, &flossless, &flossy, &form4);
  QObject::connect(form1.Bgeometry, &QPushButton::clicked, &form1, [this] { ShowWindow(&Geometry()); });
  QObject::connect(form1.Bfrequency, &QPushButton::clicked, &form1, [this] { ShowWindow(&Frequency()); });
  QObject::connect(form1.Bsweep, &QPushButton::clicked, &form1, [this] { ShowWindow(&SweepWindow()); });
  QObject::connect(form1.Bdrive, &QPushButton::clicked, &form1, [this] { ShowWindow(&Drive()); });
  project = std::make_unique<ProjectActions>(*this);
  const auto shortcut = [this](const QKeySequence& keys, auto action) {
    QObject::connect(new QShortcut(keys, &form1), &QShortcut::activated, &form1, action);
  };
  shortcut(QKeySequence(Qt::CTRL | Qt::Key_S), [this] { project->Save(); });
  shortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), [this] { project->SaveAs(); });
  shortcut(QKeySequence(Qt::CTRL | Qt::Key_O), [this] { project->OpenChosen(); });
  QObject::connect(form1.Bsummary, &QPushButton::clicked, &form1, [this] { CopySummary(); });
  form1.MayClose = [this] { return project->MayClose(); };
  form1.Dropped = [this](const QString& path) {
    if (project->MayClose()) project->Open(path);
  };
}

TFgeometry& Program::Geometry() {
  if (!geometry) {
    geometry = std::make_unique<TFgeometry>(*state, form1, form3, flossless, flossy, form4);
    project->Watch(geometry.get());
  }
  return *geometry;
}

TFfrequency& Program::Frequency() {
  if (!frequency) {
    frequency = std::make_unique<TFfrequency>(*state, form1);
    project->Watch(frequency.get());
  }
  return *frequency;
}

TFsweep& Program::SweepWindow() {
  if (!sweep) {
    sweep = std::make_unique<TFsweep>(*state, form1);
    project->Watch(sweep.get());
  }
  return *sweep;
}

TFdrive& Program::Drive() {
  if (!drive) {
    drive = std::make_unique<TFdrive>(*state, form1, form3);
    project->Watch(drive.get());
  }
  return *drive;
}

void Program::CopySummary() {
  Guarded(&form1, [this] {
    const BusyCursor busy;  // the geometry is calculated again: up to seconds on the largest coil
    SummaryInputs in{state->DesignName, state->Elements, form1.ReadSettings().RemoveLoad, std::nullopt,
                     std::nullopt};
    if (geometry) in.geometry = geometry->Read();
    if (form1.bref->isEnabled()) in.last_run = state->Engine.StateMaxima;  // a run has completed
    const std::vector<std::string> lines = DesignSummary(in);
    QString text;
    for (const std::string& line : lines) text += QString::fromStdString(line) + QLatin1Char('\n');
    QGuiApplication::clipboard()->setText(text);
    WriteSummary(state->DesignName, lines, form1);
  });
}

void Program::Start() { form1.show(); }

}  // namespace kovaro
