// A plain window for the harness's own tests: titled "Harness Probe", red,
// 300 by 200 at the top left corner. It reports on standard output what
// reaches it (pointer presses, keys, close requests), one line each, so the
// tests can check that clicks, keys and close requests arrive.
#include <gtkmm.h>

#include <cstdio>

namespace {

void report(const char* format, long a = 0, long b = 0, long c = 0) {
  std::printf(format, a, b, c);
  std::printf("\n");
  std::fflush(stdout);
}

class ProbeWindow : public Gtk::Window {
 public:
  ProbeWindow() {
    set_title("Harness Probe");
    set_default_size(300, 200);
    move(0, 0);
    add_events(Gdk::BUTTON_PRESS_MASK | Gdk::KEY_PRESS_MASK);
    auto css = Gtk::CssProvider::create();
    css->load_from_data("window { background-color: #ff0000; }");
    get_style_context()->add_provider(css, GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
  }

 protected:
  bool on_button_press_event(GdkEventButton* event) override {
    const long kind = event->type == GDK_2BUTTON_PRESS   ? 2
                      : event->type == GDK_3BUTTON_PRESS ? 3
                                                         : 1;
    report("press button=%ld x=%ld count=%ld", static_cast<long>(event->button),
           static_cast<long>(event->x_root), kind);
    return true;
  }
  bool on_key_press_event(GdkEventKey* event) override {
    std::printf("key %s\n", gdk_keyval_name(event->keyval));
    std::fflush(stdout);
    return true;
  }
  bool on_delete_event(GdkEventAny*) override {
    report("close-request");
    return false;  // let it close: the program then ends
  }
};

}  // namespace

int main(int argc, char** argv) {
  gdk_set_allowed_backends("x11");
  auto app =
      Gtk::Application::create(argc, argv, "org.tovali.HarnessProbe", Gio::APPLICATION_NON_UNIQUE);
  ProbeWindow window;
  report("ready");
  return app->run(window);
}
