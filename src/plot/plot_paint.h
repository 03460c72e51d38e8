#pragma once

#include <array>

#include "plot/plot_view.h"
#include "simulation/waveform_store.h"

class QPainter;

namespace kovaro {

// The scale fields' values, read for the legend at paint time.
using LegendScales = std::array<Real, kChannelCount>;

// Draws the whole plot of the store's view on a surface of width x height: background and
// border, grid, axes, the four limit labels, the legend, the reference (while it is shown)
// and the run. Returns the mapping it used; without extent only what needs no mapping.
PlotMapping PaintPlot(QPainter& painter, int width, int height, const WaveformStore& store,
                      const LegendScales& scales);

}  // namespace kovaro
