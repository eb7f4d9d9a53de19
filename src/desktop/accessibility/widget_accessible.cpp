#include "desktop/accessibility/widget_accessible.h"

#include <gtk/gtk-a11y.h>
#include <gtk/gtk.h>

#include <memory>
#include <utility>

#include "desktop/accessibility/link_action.h"
#include "desktop/accessibility/object_ref.h"

namespace {

using kelpo::desktop::ObjectRef;

struct KelpoWidgetAccessiblePrivate {
  std::vector<ObjectRef<AtkObject>> elements;  // after the window's own children
  std::optional<std::string> widgetURL;
  kelpo::desktop::AccessibleLinkOpener openLink;
  // Set while the window lets an assistive technology give it the focus.
  kelpo::desktop::AccessibleFocusRequest askFocus;
};

struct KelpoWidgetAccessible {
  GtkWindowAccessible parent_instance;
};

struct KelpoWidgetAccessibleClass {
  GtkWindowAccessibleClass parent_class;
};

void kelpo_widget_accessible_action_init(AtkActionIface* iface);
void kelpo_widget_accessible_component_init(AtkComponentIface* iface);

G_DEFINE_TYPE_WITH_CODE(KelpoWidgetAccessible, kelpo_widget_accessible, GTK_TYPE_WINDOW_ACCESSIBLE,
                        G_ADD_PRIVATE(KelpoWidgetAccessible)
                            G_IMPLEMENT_INTERFACE(ATK_TYPE_ACTION,
                                                  kelpo_widget_accessible_action_init)
                                G_IMPLEMENT_INTERFACE(ATK_TYPE_COMPONENT,
                                                      kelpo_widget_accessible_component_init))

KelpoWidgetAccessiblePrivate& stateOf(gpointer object) {
  return *static_cast<KelpoWidgetAccessiblePrivate*>(
      kelpo_widget_accessible_get_instance_private(static_cast<KelpoWidgetAccessible*>(object)));
}

AtkObjectClass* parentClass() {
  return ATK_OBJECT_CLASS(kelpo_widget_accessible_parent_class);
}

// GTK's own children of the window (none for a widget window, but a window
// that holds widgets keeps them first).
gint ownChildCount(AtkObject* accessible) {
  return parentClass()->get_n_children(accessible);
}

gint childCount(AtkObject* accessible) {
  return ownChildCount(accessible) + static_cast<gint>(stateOf(accessible).elements.size());
}

AtkObject* refChild(AtkObject* accessible, gint index) {
  const gint own = ownChildCount(accessible);
  if (index < own) return index < 0 ? nullptr : parentClass()->ref_child(accessible, index);
  const auto& elements = stateOf(accessible).elements;
  const auto at = static_cast<std::size_t>(index - own);
  if (at >= elements.size()) return nullptr;
  return ATK_OBJECT(g_object_ref(elements[at].get()));
}

// Removes the element children past the first `count`, from the end, and
// says so.
void keepElements(AtkObject* accessible, std::size_t count) {
  auto& elements = stateOf(accessible).elements;
  const gint own = ownChildCount(accessible);
  while (elements.size() > count) {
    const ObjectRef<AtkObject> child = std::move(elements.back());
    elements.pop_back();
    g_signal_emit_by_name(accessible, "children-changed::remove",
                          own + static_cast<gint>(elements.size()), child.get());
    atk_object_set_parent(child.get(), nullptr);
  }
}

[[nodiscard]] bool windowIsActive(AtkObject* accessible) {
  GtkWidget* widget = gtk_accessible_get_widget(GTK_ACCESSIBLE(accessible));
  return widget != nullptr && GTK_IS_WINDOW(widget) && gtk_window_is_active(GTK_WINDOW(widget));
}

// The window itself is what takes the keys (it has no focusable child), so
// it is the object a screen reader puts the focus on and hears focused.
AtkStateSet* refStateSet(AtkObject* accessible) {
  AtkStateSet* states = parentClass()->ref_state_set(accessible);
  if (!stateOf(accessible).askFocus) return states;
  atk_state_set_add_state(states, ATK_STATE_FOCUSABLE);
  if (windowIsActive(accessible)) atk_state_set_add_state(states, ATK_STATE_FOCUSED);
  return states;
}

void onActiveChanged(GObject*, GParamSpec*, gpointer accessible) {
  auto* object = ATK_OBJECT(accessible);
  if (!stateOf(object).askFocus) return;
  atk_object_notify_state_change(object, ATK_STATE_FOCUSED, windowIsActive(object));
}

void widgetSet(GtkAccessible* accessible) {
  GTK_ACCESSIBLE_CLASS(kelpo_widget_accessible_parent_class)->widget_set(accessible);
  g_signal_connect(gtk_accessible_get_widget(accessible), "notify::is-active",
                   G_CALLBACK(onActiveChanged), accessible);
}

// The children hold a reference to their parent and the parent to them: the
// cycle ends here, when the window goes.
void widgetUnset(GtkAccessible* accessible) {
  g_signal_handlers_disconnect_by_func(gtk_accessible_get_widget(accessible),
                                       reinterpret_cast<gpointer>(&onActiveChanged), accessible);
  keepElements(ATK_OBJECT(accessible), 0);
  stateOf(accessible).askFocus = nullptr;
  GTK_ACCESSIBLE_CLASS(kelpo_widget_accessible_parent_class)->widget_unset(accessible);
}

void kelpo_widget_accessible_init(KelpoWidgetAccessible* self) {
  std::construct_at(&stateOf(self));
}

void finalize(GObject* object) {
  std::destroy_at(&stateOf(object));
  G_OBJECT_CLASS(kelpo_widget_accessible_parent_class)->finalize(object);
}

void kelpo_widget_accessible_class_init(KelpoWidgetAccessibleClass* klass) {
  G_OBJECT_CLASS(klass)->finalize = finalize;
  ATK_OBJECT_CLASS(klass)->get_n_children = childCount;
  ATK_OBJECT_CLASS(klass)->ref_child = refChild;
  ATK_OBJECT_CLASS(klass)->ref_state_set = refStateSet;
  GTK_ACCESSIBLE_CLASS(klass)->widget_set = widgetSet;
  GTK_ACCESSIBLE_CLASS(klass)->widget_unset = widgetUnset;
}

gint actionCount(AtkAction* action) {
  return stateOf(action).widgetURL ? 1 : 0;
}

gboolean doAction(AtkAction* action, gint index) {
  const KelpoWidgetAccessiblePrivate& state = stateOf(action);
  if (index != 0 || !state.widgetURL || !state.openLink) return FALSE;
  kelpo::desktop::openLinkSoon(*state.widgetURL, state.openLink);
  return TRUE;
}

const gchar* actionName(AtkAction* action, gint index) {
  return index == 0 && actionCount(action) == 1 ? kelpo::desktop::clickActionName : nullptr;
}

const gchar* actionDescription(AtkAction* action, gint index) {
  return index == 0 && actionCount(action) == 1 ? kelpo::desktop::clickActionDescription : nullptr;
}

void kelpo_widget_accessible_action_init(AtkActionIface* iface) {
  iface->get_n_actions = actionCount;
  iface->do_action = doAction;
  iface->get_name = actionName;
  iface->get_description = actionDescription;
}

// The window's own answer; GTK's would give the focus only to a widget that
// can take it, which a window that never accepts the focus is not.
gboolean grabFocus(AtkComponent* component) {
  const auto& askFocus = stateOf(component).askFocus;
  return askFocus && askFocus() ? TRUE : FALSE;
}

// The other calls stay GTK's window's: the interface starts as a copy of it.
void kelpo_widget_accessible_component_init(AtkComponentIface* iface) {
  iface->grab_focus = grabFocus;
}

}  // namespace

namespace kelpo::desktop {

GType widgetAccessibleType() {
  return kelpo_widget_accessible_get_type();
}

void offerFocus(AtkObject* accessible, AccessibleFocusRequest askFocus) {
  if (!G_TYPE_CHECK_INSTANCE_TYPE(accessible, widgetAccessibleType())) return;
  stateOf(accessible).askFocus = std::move(askFocus);
}

void publishElements(AtkObject* accessible, AccessibleWidget widget) {
  if (!G_TYPE_CHECK_INSTANCE_TYPE(accessible, widgetAccessibleType())) return;
  KelpoWidgetAccessiblePrivate& state = stateOf(accessible);
  state.widgetURL = std::move(widget.widgetURL);
  state.openLink = widget.openLink;
  auto& children = state.elements;
  const gint own = ownChildCount(accessible);
  const auto placementAt = [&](std::size_t index) {
    return ElementPlacement{own + static_cast<int>(index), widget.pixelsPerPoint, widget.openLink};
  };
  // Pass 1: the children both trees have are updated in place, so that a
  // screen reader on one of them stays there and hears only what changed.
  const std::size_t kept = std::min(children.size(), widget.elements.size());
  for (std::size_t i = 0; i < kept; ++i) {
    updateElementAccessible(children[i].get(), widget.elements[i], placementAt(i));
  }
  // Pass 2: children the new tree no longer has go, from the end.
  keepElements(accessible, kept);
  // Pass 3: new elements are added at the end.
  for (std::size_t i = kept; i < widget.elements.size(); ++i) {
    children.push_back(makeElementAccessible(accessible, widget.elements[i], placementAt(i)));
    g_signal_emit_by_name(accessible, "children-changed::add", own + static_cast<gint>(i),
                          children.back().get());
  }
}

}  // namespace kelpo::desktop
