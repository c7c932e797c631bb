#pragma once

#include <optional>

namespace tovali {

// How full the status line's progress bar is. The bar shows the progress of
// a page load that has started and is empty at every other time: the
// browser also reports progress for a navigation the guard refused (a
// refused link, a silent refusal, a refused Back, a redirect to a refused
// site), which loads nothing and ends with no "load finished" or only before
// its last report, so such reports must not fill it.
class ProgressFill {
 public:
  // A page load has started: its progress reports fill the bar.
  void load_started() { m_loading = true; }

  // The browser reported `progress` of `progress_max`. While a load runs,
  // the fill becomes their ratio, kept within 0 to 1, and is returned; a
  // negative progress means that the load has ended, as load_ended(). Nullopt
  // when the fill does not change: no load runs (the bar stays as it is,
  // empty), or the report has no maximum.
  std::optional<double> report(int progress, int progress_max);

  // The page load has ended, loaded or failed: the bar is empty until the
  // next load starts. Returns the fill (0).
  double load_ended();

  double fill() const { return m_fill; }

 private:
  bool m_loading = false;
  double m_fill = 0.0;
};

}  // namespace tovali
