#include "shell/help_text.h"

namespace kovaro {

const std::string& HelpText() {
  static const std::string text = R"(Kovaro

This program designs the circuit:

             Ca                kab
   o-------||-------+                   +-----------+--------o
   ^                |                   |           |
   |                )       ||          (           \
   Ra               )  La   ||    Lb    (    Cb ===  / Rb
   |                )       ||          (           \
   |                |                   |           |
   o----------------+                   +-----------+--------o

The objective is to obtain a high voltage over Rb (or just Cb) when a
high-frequency AC signal is applied to the left side, with maximum
efficiency. The high voltage can be used to produce sparks and streamers,
or for other uses in power conversion. Rb represents the nominal loading
by the streamers and the losses, as a parallel equivalent. Cb is the sum
of the self-capacitance of Lb, the terminal capacitance and the streamer
capacitance.

Lossy design:

          C1      L1
   o-----||-----uuuuu-----+---------+---------+------o
   ^                      |         |         |
   R1                     ) L2    C2 ===      \ R2
   |                      )         |         /
   o----------------------+---------+---------+------o

A Butterworth bandpass prototype is designed and converted to the circuit
above. The double terminated design results in a maximally resistive
input impedance for the specified load. The singly terminated design
results in a maximally flat passband, but with resistive input impedance
at a single frequency only (less practical).

Lossless design:

The network transfers all the input energy to the output capacitance
when the losses are neglected. With a cosinusoidal input, the two
resonances and the input frequency must be in a relation k:l:m of
integers with odd differences, with excitation at the central frequency
l. With a sinusoidal input, the multipliers must all be odd, with double
odd differences, and the excitation can be at l or at the upper
frequency m. Excitation at l results in nearly perfect soft switching,
with input voltage and current almost in phase.
The program doesn't verify the parity of the multipliers.
Any combination is possible, but perfect energy transfer happens only in
those cases.

The waveforms for a square-wave or sinusoidal/cosinusoidal
input can be plotted. Use the mouse to mark a region to zoom
in the plot. Keys: "+" and "-" scale the values up and down, ">" and "<"
move the time window, "u" and "d" move the values up and down, "a" and
"r" widen and narrow the time window, space returns to the whole plot.
The plots are not exact, and may show some simulation artifacts.
The element values can also be directly entered or changed.

The prototype can be designed with the two structures below.
The final circuit with transformer is the same in both cases.

        C1    L1                           C1
   o---||---uuuu---+------+---o      o---||---+---uuuu---+------+---o
                   |      |                   |    L2   |      |
   vin          L2 )  C2 ===  vout    vin  L1 )       C2 ===  vout
                   )      |                   )         |      |
   o---------------+------+---o      o--------+---------+------+---o

The elements of an ideal Tesla coil can be calculated too.
Each transition of the square-wave input causes an energy-transfer
transient, and the transients can accumulate when the losses are low. So
the input period can be set to a multiple of the energy transfer time.
The primary and secondary resonances are placed in a ratio k:l with an
odd difference, so that all the energy of Ca reaches Cb after a known
number of cycles.

The simulation integrates the circuit from rest with the trapezoidal
rule (or with forward Euler), with a fixed number of points over the
final time. The driver can switch with the sign of the primary current
after a given time, have an offset added, and be stopped at a given
time: after a turn-off delay it acts as an open circuit, a short
circuit, an open circuit with free-wheeling diodes, or multiplies its
voltage. Each run reports the maxima, the stored energies and the gain,
and can save a table of the waveforms.

The resistances of the two coils, Rla and Rlb, and the output resistance
of the driver, Rin, can be introduced in the simulations through the
"Edit elements" window.

The "Coil geometry" window computes the elements from the physical coil:
Lb of the secondary (Nagaoka's current sheet with round-wire
corrections), its self-capacitance from the bare quarter-wave resonance
(Medhurst's table for short coils, the TSSP fit for long ones), the
isolated capacitance of a toroid or sphere topload, La of a flat spiral
or helical primary and the coupling kab, both by sums over the turns.
Sizes are in metres, millimetres or inches ("Lengths in"), measured to
the wire centres; a wire gauge (AWG) fills the wire's bare diameter.
The report stays in SI units whatever the choice. A topload on the coil
adds less than its isolated capacitance (the coil shields it): a field
solve of the turns, the topload and the ground (and of a grounded
ceiling and the coil form, when given) finds what it adds where it
sits, and Cb is the self-capacitance plus that; a measured loaded
resonance, when given, sets Cb instead. The chart shows the first
mode's voltage and current along the winding. "Use for elements" copies
Lb, Cb, La and kab into the elements, "Send to designs" copies Lb and
Cb into the design windows, and "Find primary" finds the primary turns
and height that give the La and kab of a design.

The "Frequency response" window plots the gain to Cb and the input
impedance of the same circuit against frequency, marks its natural
modes and lists their frequencies and Q, and exports the circuit as a
SPICE netlist. Ctrl+S in the time response window saves the plot as a
picture.

The "Parameter sweep" window runs the simulation once for each value
of one element or of the input frequency, input voltage, stop time or
feedback start, and plots and lists the largest VCb, the voltage gain
and the energy ratio of each run.

The "Drive and bank" window takes the last run: the capacitors in
series and in parallel that make Ca safely with their currents, dV/dt
and losses, when the primary current reaches the bridge's over-current
limit, the power of bursts (with a spark length by the builders' rule
of thumb, 1.7 sqrt(W) inches: a rough guide only), and how streamers
detune the secondary; "Apply streamer load" adds them to Cb and Rb.

Projects: "Save project" (Ctrl+S) keeps every input of every window,
the elements and the design name in one .kovaro file (plain JSON, the
numbers exactly as held); "Open project..." (Ctrl+O), "Recent projects",
a file dropped on this window or "kovaro FILE" brings them all back, so
that a run gives the same results as before. A bad file changes nothing.
"Copy summary" puts the design in plain text on the clipboard and in
DesignName.txt, to paste into a post.
)";
  return text;
}

}  // namespace kovaro
