#include "XTool.h"

#include <cstdlib>
#include <sstream>

#include "ChildProcess.h"
#include "RunCommand.h"

#ifdef TOVALI_TEST_HAVE_X11
#include <X11/Xlib.h>
#endif

namespace tovali::testing {

namespace {

constexpr int kToolTimeoutSeconds = 60;

std::vector<std::string> words(const std::string& text) {
  std::istringstream in(text);
  std::vector<std::string> out;
  for (std::string w; in >> w;) out.push_back(w);
  return out;
}

}  // namespace

Rgb Image::at(int x, int y) const {
  const std::size_t i = (static_cast<std::size_t>(y) * width + x) * 3;
  return {rgb[i], rgb[i + 1], rgb[i + 2]};
}

int Image::count(const std::function<bool(Rgb)>& match) const {
  int n = 0;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      if (match(at(x, y))) ++n;
  return n;
}

bool XTool::available() {
  return !find_program("xdotool").empty() && !find_program("import").empty() &&
         !find_program("convert").empty();
}

bool XTool::xdotool(const std::vector<std::string>& args, std::string* out) const {
  std::vector<std::string> argv = {find_program("xdotool")};
  if (argv[0].empty()) return false;
  argv.insert(argv.end(), args.begin(), args.end());
  const auto r = run_command(argv, {{"DISPLAY", m_display}}, kToolTimeoutSeconds);
  if (out) *out = r.out;
  return r.exit_status == 0;
}

std::vector<std::string> XTool::search(const std::string& name_regex, bool only_visible) const {
  std::vector<std::string> args = {"search"};
  if (only_visible) args.push_back("--onlyvisible");
  args.insert(args.end(), {"--name", name_regex});
  std::string out;
  xdotool(args, &out);  // exit status 1 just means "none found"
  return words(out);
}

std::optional<std::string> XTool::wait_for_window(const std::string& name_regex,
                                                  std::chrono::milliseconds timeout) const {
  std::optional<std::string> found;
  wait_until(
      [&] {
        const auto ids = search(name_regex);
        if (!ids.empty()) found = ids.front();
        return found.has_value();
      },
      timeout, std::chrono::milliseconds(100));
  return found;
}

bool XTool::wait_for_no_window(const std::string& name_regex,
                               std::chrono::milliseconds timeout) const {
  return wait_until([&] { return search(name_regex).empty(); }, timeout,
                    std::chrono::milliseconds(100));
}

std::optional<WindowGeometry> XTool::geometry(const std::string& window) const {
  std::string out;
  if (!xdotool({"getwindowgeometry", "--shell", window}, &out)) return std::nullopt;
  WindowGeometry g;
  for (const auto& line : words(out)) {
    const auto eq = line.find('=');
    if (eq == std::string::npos) continue;
    const std::string name = line.substr(0, eq);
    const int value = std::atoi(line.c_str() + eq + 1);
    if (name == "X") g.x = value;
    if (name == "Y") g.y = value;
    if (name == "WIDTH") g.width = value;
    if (name == "HEIGHT") g.height = value;
  }
  // Under a window manager that frames windows xdotool counts the frame's
  // offset twice; xwininfo gives the window's own place on the screen.
  const std::string xwininfo = find_program("xwininfo");
  if (!xwininfo.empty()) {
    const auto r =
        run_command({xwininfo, "-id", window}, {{"DISPLAY", m_display}}, kToolTimeoutSeconds);
    const auto number_after = [&](const std::string& label) -> std::optional<int> {
      const auto at = r.out.find(label);
      if (at == std::string::npos) return std::nullopt;
      return std::atoi(r.out.c_str() + at + label.size());
    };
    const auto x = number_after("Absolute upper-left X:");
    const auto y = number_after("Absolute upper-left Y:");
    if (r.exit_status == 0 && x && y) {
      g.x = *x;
      g.y = *y;
    }
  }
  return g;
}

std::optional<std::string> XTool::window_name(const std::string& window) const {
  std::string out;
  if (!xdotool({"getwindowname", window}, &out)) return std::nullopt;
  if (!out.empty() && out.back() == '\n') out.pop_back();
  return out;
}

namespace {

std::optional<std::string> first_word(const std::string& text) {
  const auto w = words(text);
  if (w.empty()) return std::nullopt;
  return w.front();
}

}  // namespace

std::optional<std::string> XTool::focused_window() const {
  std::string out;
  if (!xdotool({"getwindowfocus", "-f"}, &out)) return std::nullopt;
  return first_word(out);
}

std::optional<std::string> XTool::focused_toplevel() const {
  std::string out;
  if (!xdotool({"getwindowfocus"}, &out)) return std::nullopt;
  return first_word(out);
}

std::optional<std::string> XTool::property(const std::string& window,
                                           const std::string& name) const {
  std::vector<std::string> argv = {find_program("xprop")};
  if (argv[0].empty()) return std::nullopt;
  if (window.empty())
    argv.push_back("-root");
  else
    argv.insert(argv.end(), {"-id", window});
  argv.push_back(name);
  const auto r = run_command(argv, {{"DISPLAY", m_display}}, kToolTimeoutSeconds);
  const auto at = r.out.find(" = ");
  if (r.exit_status != 0 || at == std::string::npos) return std::nullopt;
  std::string value = r.out.substr(at + 3);
  while (!value.empty() && (value.back() == '\n' || value.back() == ' ')) value.pop_back();
  return value;
}

bool XTool::viewable(const std::string& window) const {
  const std::string program = find_program("xwininfo");
  if (program.empty()) return false;
  const auto r =
      run_command({program, "-id", window}, {{"DISPLAY", m_display}}, kToolTimeoutSeconds);
  return r.exit_status == 0 && r.out.find("Map State: IsViewable") != std::string::npos;
}

bool XTool::move_mouse(int x, int y) const {
  return xdotool({"mousemove", std::to_string(x), std::to_string(y)});
}

bool XTool::click_at(int x, int y, int button) const {
  return xdotool(
      {"mousemove", std::to_string(x), std::to_string(y), "click", std::to_string(button)});
}

bool XTool::double_click_at(int x, int y, int button) const {
  return xdotool({"mousemove", std::to_string(x), std::to_string(y), "click", "--repeat", "2",
                  "--delay", "80", std::to_string(button)});
}

bool XTool::drag(int from_x, int from_y, int to_x, int to_y) const {
  if (!xdotool({"mousemove", std::to_string(from_x), std::to_string(from_y), "mousedown", "1"}))
    return false;
  constexpr int kSteps = 12;
  bool moved = true;
  for (int i = 1; i <= kSteps; ++i) {
    const int x = from_x + (to_x - from_x) * i / kSteps;
    const int y = from_y + (to_y - from_y) * i / kSteps;
    // A short pause per step lets the drag source and the windows under the
    // pointer follow, as they do for a hand.
    moved = xdotool({"mousemove", std::to_string(x), std::to_string(y), "sleep", "0.05"}) && moved;
  }
  return xdotool({"mouseup", "1"}) && moved;
}

bool XTool::key(const std::string& keys) const {
  return xdotool({"key", keys});
}

bool XTool::type_text(const std::string& text) const {
  return xdotool({"type", "--delay", "20", text});
}

bool XTool::send_close_request(const std::string& window) const {
#ifdef TOVALI_TEST_HAVE_X11
  Display* display = XOpenDisplay(m_display.c_str());
  if (!display) return false;
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = static_cast<Window>(std::strtoul(window.c_str(), nullptr, 10));
  event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  const Status sent = XSendEvent(display, event.xclient.window, False, NoEventMask, &event);
  XSync(display, False);
  XCloseDisplay(display);
  return sent != 0;
#else
  (void)window;
  return false;
#endif
}

bool XTool::screenshot(const std::string& png_path) const {
  const std::string import = find_program("import");
  if (import.empty()) return false;
  const auto r = run_command({import, "-display", m_display, "-window", "root", png_path},
                             {{"DISPLAY", m_display}}, kToolTimeoutSeconds);
  return r.exit_status == 0;
}

std::optional<Image> XTool::grab(int x, int y, int width, int height) const {
  const std::string import = find_program("import");
  if (import.empty() || width <= 0 || height <= 0) return std::nullopt;
  const std::string crop = std::to_string(width) + "x" + std::to_string(height) + "+" +
                           std::to_string(x) + "+" + std::to_string(y);
  const auto r = run_command(
      {import, "-display", m_display, "-window", "root", "-crop", crop, "-depth", "8", "rgb:-"},
      {{"DISPLAY", m_display}}, kToolTimeoutSeconds);
  if (r.exit_status != 0 || r.out.size() != static_cast<std::size_t>(width) * height * 3)
    return std::nullopt;
  Image image{width, height, {}};
  image.rgb.assign(r.out.begin(), r.out.end());
  return image;
}

bool XTool::wait_for_screen(int x, int y, int width, int height,
                            const std::function<bool(const Image&)>& condition,
                            std::chrono::milliseconds timeout) const {
  return wait_until(
      [&] {
        const auto image = grab(x, y, width, height);
        return image && condition(*image);
      },
      timeout, std::chrono::milliseconds(100));
}

std::optional<Image> XTool::read_region(const std::string& png_path, int x, int y, int width,
                                        int height) {
  const std::string convert = find_program("convert");
  if (convert.empty() || width <= 0 || height <= 0) return std::nullopt;
  const std::string crop = std::to_string(width) + "x" + std::to_string(height) + "+" +
                           std::to_string(x) + "+" + std::to_string(y);
  const auto r = run_command(
      {convert, png_path, "-crop", crop, "+repage", "-alpha", "off", "-depth", "8", "rgb:-"}, {},
      kToolTimeoutSeconds);
  Image image{width, height, {}};
  if (r.exit_status != 0 || r.out.size() != static_cast<std::size_t>(width) * height * 3)
    return std::nullopt;
  image.rgb.assign(r.out.begin(), r.out.end());
  return image;
}

}  // namespace tovali::testing
