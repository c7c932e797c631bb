#include "models/ProgressFill.h"

#include <algorithm>

namespace tovali {

std::optional<double> ProgressFill(int progress, int progress_max) {
  if (progress < 0) return 0.0;
  if (progress_max <= 0) return std::nullopt;
  return std::clamp(static_cast<double>(progress) / progress_max, 0.0, 1.0);
}

}  // namespace tovali
