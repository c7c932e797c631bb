#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "Polling.h"

namespace tovali::testing {

struct WindowGeometry {
  int x = 0, y = 0, width = 0, height = 0;
};

struct Rgb {
  int r = 0, g = 0, b = 0;
};

// A rectangle of a screenshot as 8-bit RGB.
struct Image {
  int width = 0, height = 0;
  std::vector<std::uint8_t> rgb;  // width * height * 3 bytes, rows top to bottom

  Rgb at(int x, int y) const;
  // How many pixels satisfy `match`.
  int count(const std::function<bool(Rgb)>& match) const;
};

// Drives and watches one X display: xdotool for windows, pointer and keys,
// ImageMagick for screenshots. Every call is bounded in time; a failed call
// returns false or nothing.
class XTool {
 public:
  explicit XTool(std::string display) : m_display(std::move(display)) {}

  // Whether xdotool and ImageMagick are installed.
  static bool available();

  const std::string& display() const { return m_display; }

  // Ids of the windows whose title matches `name_regex` (xdotool's
  // --name; anchor it, "^Tovali Explorer$", to exclude longer titles).
  std::vector<std::string> search(const std::string& name_regex, bool only_visible = true) const;
  // Waits until a mapped window matches; its id.
  std::optional<std::string> wait_for_window(
      const std::string& name_regex, std::chrono::milliseconds timeout = kStartTimeout) const;
  // Waits until no mapped window matches.
  bool wait_for_no_window(const std::string& name_regex,
                          std::chrono::milliseconds timeout = kEventTimeout) const;
  std::optional<WindowGeometry> geometry(const std::string& window) const;
  std::optional<std::string> window_name(const std::string& window) const;
  // The window with the input focus.
  std::optional<std::string> focused_window() const;
  // The top-level window (one with a name, as a window manager sees it) that
  // holds the input focus: under a window manager GTK may focus a child.
  std::optional<std::string> focused_toplevel() const;
  // A property as xprop prints it after " = " ("0", "_NET_WM_ACTION_MOVE,
  // _NET_WM_ACTION_CLOSE"): of the root window when `window` is "", else of
  // that window. Nothing when it is not set.
  std::optional<std::string> property(const std::string& window, const std::string& name) const;
  // Whether the window is mapped and all its ancestors are (xwininfo's
  // "IsViewable"): a window on another desktop of a window manager is not.
  bool viewable(const std::string& window) const;

  bool move_mouse(int x, int y) const;
  // Clicks at screen position (x, y); button 1 left, 2 middle, 3 right.
  bool click_at(int x, int y, int button = 1) const;
  bool double_click_at(int x, int y, int button = 1) const;
  // Presses the left button at (from_x, from_y), moves to (to_x, to_y) in
  // small steps, as a hand drags, and releases it there.
  bool drag(int from_x, int from_y, int to_x, int to_y) const;
  // Keys in xdotool's notation: "Return", "ctrl+p", "alt+F4", "shift+F10".
  bool key(const std::string& keys) const;
  bool type_text(const std::string& text) const;

  // Asks the window to close, as a window manager's close button does
  // (WM_DELETE_WINDOW). False when the message could not be sent.
  bool send_close_request(const std::string& window) const;

  // The whole screen as a PNG file.
  bool screenshot(const std::string& png_path) const;

  // A rectangle of the screen as it is now; nothing when it cannot be read.
  std::optional<Image> grab(int x, int y, int width, int height) const;
  // Waits until the screen's rectangle satisfies `condition`: the sync point
  // after an input whose effect is only seen on the screen (a tab page
  // shown, a cell editor opened, a text caret in a field).
  bool wait_for_screen(int x, int y, int width, int height,
                       const std::function<bool(const Image&)>& condition,
                       std::chrono::milliseconds timeout = kEventTimeout) const;

  // A rectangle of a PNG file; nothing when it cannot be read.
  static std::optional<Image> read_region(const std::string& png_path, int x, int y, int width,
                                          int height);

 private:
  bool xdotool(const std::vector<std::string>& args, std::string* out = nullptr) const;

  std::string m_display;
};

}  // namespace tovali::testing
