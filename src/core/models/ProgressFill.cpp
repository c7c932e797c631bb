#include "models/ProgressFill.h"

#include <algorithm>

namespace tovali {

std::optional<double> ProgressFill::report(int progress, int progress_max) {
  if (progress < 0) return load_ended();
  if (!m_loading || progress_max <= 0) return std::nullopt;
  m_fill = std::clamp(static_cast<double>(progress) / progress_max, 0.0, 1.0);
  return m_fill;
}

double ProgressFill::load_ended() {
  m_loading = false;
  m_fill = 0.0;
  return m_fill;
}

}  // namespace tovali
