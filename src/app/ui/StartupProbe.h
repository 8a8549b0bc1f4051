#pragma once
// Measuring hook for the benchmarks: with ORVEL_STARTUP_PROBE set, the program prints how
// long it took to reach an idle, painted window and quits.

class QWidget;

namespace orvel {

void startupProbe(QWidget& window);

} // namespace orvel
