#include "ui/AccessibleButton.h"

#include <gtk/gtk-a11y.h>
#include <gtk/gtk.h>

#include "browser/CallbackGuard.h"

namespace {

// A GtkWidgetAccessible that also offers AtkAction with a single "click".
struct TovaliButtonAccessible {
  GtkWidgetAccessible parent;
  std::function<void()>* activate;
};

struct TovaliButtonAccessibleClass {
  GtkWidgetAccessibleClass parent_class;
};

void tovali_button_accessible_action_init(AtkActionIface* iface);

G_DEFINE_TYPE_WITH_CODE(TovaliButtonAccessible, tovali_button_accessible,
                        GTK_TYPE_WIDGET_ACCESSIBLE,
                        G_IMPLEMENT_INTERFACE(ATK_TYPE_ACTION,
                                              tovali_button_accessible_action_init))

TovaliButtonAccessible* as_button(gpointer object) {
  return G_TYPE_CHECK_INSTANCE_CAST(object, tovali_button_accessible_get_type(),
                                    TovaliButtonAccessible);
}

void tovali_button_accessible_finalize(GObject* object) {
  delete as_button(object)->activate;
  G_OBJECT_CLASS(tovali_button_accessible_parent_class)->finalize(object);
}

void tovali_button_accessible_init(TovaliButtonAccessible* self) {
  self->activate = nullptr;
}

void tovali_button_accessible_class_init(TovaliButtonAccessibleClass* klass) {
  G_OBJECT_CLASS(klass)->finalize = tovali_button_accessible_finalize;
}

gboolean run_activation(gpointer data) {
  auto* self = as_button(data);
  if (self->activate && gtk_accessible_get_widget(GTK_ACCESSIBLE(self)))
    tovali::guarded("accessible action", [self] { (*self->activate)(); });
  return G_SOURCE_REMOVE;
}

gboolean do_action(AtkAction* action, gint index) {
  if (index != 0 || !gtk_accessible_get_widget(GTK_ACCESSIBLE(action))) return FALSE;
  // Answered first, run afterwards: the action may open a modal window.
  g_idle_add_full(G_PRIORITY_DEFAULT_IDLE, run_activation, g_object_ref(action), g_object_unref);
  return TRUE;
}

gint get_n_actions(AtkAction*) {
  return 1;
}

const gchar* get_action_name(AtkAction*, gint index) {
  return index == 0 ? "click" : nullptr;
}

const gchar* get_action_description(AtkAction*, gint index) {
  return index == 0 ? "Clicks the button" : nullptr;
}

void tovali_button_accessible_action_init(AtkActionIface* iface) {
  iface->do_action = do_action;
  iface->get_n_actions = get_n_actions;
  iface->get_name = get_action_name;
  iface->get_localized_name = get_action_name;
  iface->get_description = get_action_description;
}

}  // namespace

namespace tovali {

Glib::RefPtr<Atk::Object> make_button_accessible(Gtk::Widget& widget, const std::string& name,
                                                 std::function<void()> activate) {
  auto* object = static_cast<AtkObject*>(
      g_object_new(tovali_button_accessible_get_type(), "widget", widget.gobj(), nullptr));
  as_button(object)->activate = new std::function<void()>(std::move(activate));
  atk_object_initialize(object, widget.gobj());
  atk_object_set_role(object, ATK_ROLE_PUSH_BUTTON);
  atk_object_set_name(object, name.c_str());
  return Glib::wrap(object);  // takes over the reference g_object_new gave
}

void rename_button_accessible(const Glib::RefPtr<Atk::Object>& accessible,
                              const std::string& name) {
  atk_object_set_name(accessible->gobj(), name.c_str());
}

void detach_button_accessible(const Glib::RefPtr<Atk::Object>& accessible) {
  gtk_accessible_set_widget(GTK_ACCESSIBLE(accessible->gobj()), nullptr);
}

}  // namespace tovali
