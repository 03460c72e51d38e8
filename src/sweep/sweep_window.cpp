#include "sweep/sweep_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include "app/main_window.h"
#include "shell/error_box.h"
#include "shell/messages.h"
#include "shell/nedit.h"
#include "shell/widgets.h"
#include "sweep/sweep_chart.h"

namespace kovaro {
namespace {

constexpr int kTop = 66;       // below the two rows of controls
constexpr int kTurnMs = 30;    // run points for this long, then let the window answer
constexpr int kChartMs = 250;  // the chart drawn again at most this often while it runs

}  // namespace

TFsweep::TFsweep(AppState& state, TForm1& main) : state_(state), main_(main) {
  InitWindow(this, "TFsweep", QStringLiteral("Parameter sweep"), 720, 520, false);
  MakeLabel(this, QStringLiteral("Quantity"), 8, 11);
  CBparam = new QComboBox(this);
  CBparam->setObjectName(QStringLiteral("CBparam"));
  for (int32_t q = 0; q < kSweptCount; ++q)
    CBparam->addItem(QString::fromStdString(SweptName(SweptQuantity(q))));
  CBparam->setGeometry(60, 8, 150, 22);
  MakeLabel(this, QStringLiteral("From"), 222, 11);
  NEsfrom = MakeField(this, "NEsfrom", 252, 8, 90, 0);
  MakeLabel(this, QStringLiteral("To"), 352, 11);
  NEsto = MakeField(this, "NEsto", 370, 8, 90, 0);
  MakeLabel(this, QStringLiteral("Points"), 470, 11);
  NEscount = MakeField(this, "NEscount", 510, 8, 50, 0, 21, int_field);
  NEsfrom->setCaption(QStringLiteral("From"));
  NEsto->setCaption(QStringLiteral("To"));
  NEscount->setCaption(QStringLiteral("Points"));
  CBslog = MakeCheck(this, "CBslog", QStringLiteral("Logarithmic"), 572, 10, false);
  Bsweeprun = MakeButton(this, "Bsweeprun", QStringLiteral("Run sweep"), 8, 36, 97);
  Bsweepcancel = MakeButton(this, "Bsweepcancel", QStringLiteral("Cancel"), 112, 36, 80);
  Bsweepcancel->setEnabled(false);
  Progress = new QProgressBar(this);
  Progress->setObjectName(QStringLiteral("Progress"));
  Progress->setGeometry(200, 38, 300, 20);
  Progress->setValue(0);
  Chart = new SweepChart(this);
  timer_ = new QTimer(this);
  timer_->setSingleShot(true);
  connect(timer_, &QTimer::timeout, this, [this] { RunSome(); });
  connect(Bsweeprun, &QPushButton::clicked, this, [this] { BsweeprunClick(); });
  connect(Bsweepcancel, &QPushButton::clicked, this, [this] { BsweepcancelClick(); });
  // A range around the quantity's present value whenever another one is chosen.
  const auto around = [this](int index) {
    const auto q = static_cast<SweptQuantity>(index);
    ElementSet e = state_.Elements;
    SimulationSettings s = main_.ReadSettings();
    const SweepRange r = RangeAround(SweptValue(q, e, s));
    NEsfrom->setPanelReal(r.from);
    NEsto->setPanelReal(r.to);
  };
  connect(CBparam, &QComboBox::currentIndexChanged, this, around);
  around(0);
}

void TFsweep::BsweeprunClick() {
  if (Running()) return;
  Guarded(this, [this] {
    if (!main_.Bplot->isEnabled())
      throw InputError(
          "Run sweep needs a circuit: apply the element values or make a design first, as for "
          "\"Simulate and plot\"");
    const SweepRange range{NEsfrom->panel_real(), NEsto->panel_real(), NEscount->panel_int(),
                           CBslog->isChecked()};
    // Refused input throws here, before anything runs or is reported.
    sweep_ = std::make_unique<Sweep>(state_.Elements, main_.ReadSettings(),
                                     static_cast<SweptQuantity>(CBparam->currentIndex()), range);
    design_name_ = state_.DesignName;
    cancelled_ = false;
    shown_.start();
    Progress->setRange(0, range.points);
    Progress->setValue(0);
    Bsweeprun->setEnabled(false);
    Bsweepcancel->setEnabled(true);
    timer_->start(0);
  });
}

void TFsweep::BsweepcancelClick() { cancelled_ = true; }

void TFsweep::RunSome() {
  QElapsedTimer turn;
  turn.start();
  while (!sweep_->Done() && !cancelled_ && turn.elapsed() < kTurnMs) {
    sweep_->Next();
    Progress->setValue(static_cast<int>(sweep_->Points().size()));
  }
  // A chart of thousands of points takes long to lay out: drawn a few times a second.
  if (shown_.elapsed() >= kChartMs) ShowChart();
  if (sweep_->Done() || cancelled_) {
    Finish();
  } else {
    timer_->start(0);
  }
}

void TFsweep::ShowChart() {
  Chart->Show(sweep_->Quantity(), sweep_->Range(), sweep_->Points());
  shown_.restart();
}

void TFsweep::Finish() {
  ShowChart();
  const std::unique_ptr<Sweep> sweep = std::move(sweep_);
  Bsweeprun->setEnabled(true);
  Bsweepcancel->setEnabled(false);
  Guarded(this, [&] { ReportSweep(design_name_, *sweep, main_); });
}

void TFsweep::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  Chart->setGeometry(0, kTop, width(), height() - kTop);
}

void TFsweep::closeEvent(QCloseEvent* event) {
  cancelled_ = true;  // a closed window's sweep stops after its current run
  QWidget::closeEvent(event);
}

}  // namespace kovaro
