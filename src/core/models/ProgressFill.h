#pragma once

#include <optional>

namespace tovali {

// How full the status line's progress bar is after a browser reported
// `progress` of `progress_max`: their ratio, kept within 0 to 1. A negative
// progress means that the load has ended and empties the bar. Nullopt when
// the report has no maximum (the bar keeps its fill).
std::optional<double> ProgressFill(int progress, int progress_max);

}  // namespace tovali
