#include "desktop/accessibility/element_accessible.h"

#include <gtk/gtk.h>

#include <cmath>
#include <memory>
#include <utility>

#include "desktop/accessibility/link_action.h"

namespace {

// The C++ side of the object, built in place by GObject's instance init and
// destroyed in finalize.
struct KelpoElementAccessiblePrivate {
  kelpo::ui::AccessibilityElement element;
  kelpo::desktop::ElementPlacement placement;
};

struct KelpoElementAccessible {
  AtkObject parent_instance;
};

struct KelpoElementAccessibleClass {
  AtkObjectClass parent_class;
};

void kelpo_element_accessible_component_init(AtkComponentIface* iface);
void kelpo_element_accessible_action_init(AtkActionIface* iface);

G_DEFINE_TYPE_WITH_CODE(KelpoElementAccessible, kelpo_element_accessible, ATK_TYPE_OBJECT,
                        G_ADD_PRIVATE(KelpoElementAccessible)
                            G_IMPLEMENT_INTERFACE(ATK_TYPE_COMPONENT,
                                                  kelpo_element_accessible_component_init)
                                G_IMPLEMENT_INTERFACE(ATK_TYPE_ACTION,
                                                      kelpo_element_accessible_action_init))

KelpoElementAccessiblePrivate& stateOf(gpointer object) {
  return *static_cast<KelpoElementAccessiblePrivate*>(
      kelpo_element_accessible_get_instance_private(static_cast<KelpoElementAccessible*>(object)));
}

// The widget the element is drawn in, or none once the widget is gone.
GtkWidget* widgetOf(AtkObject* accessible) {
  AtkObject* parent = atk_object_get_parent(accessible);
  return parent != nullptr && GTK_IS_ACCESSIBLE(parent)
             ? gtk_accessible_get_widget(GTK_ACCESSIBLE(parent))
             : nullptr;
}

AtkRole roleOf(const kelpo::ui::AccessibilityElement& element) {
  if (element.link) return ATK_ROLE_LINK;
  return element.role == kelpo::ui::AccessibilityRole::image ? ATK_ROLE_IMAGE : ATK_ROLE_LABEL;
}

void kelpo_element_accessible_init(KelpoElementAccessible* self) {
  std::construct_at(&stateOf(self));
}

void finalize(GObject* object) {
  std::destroy_at(&stateOf(object));
  G_OBJECT_CLASS(kelpo_element_accessible_parent_class)->finalize(object);
}

gint indexInParent(AtkObject* accessible) {
  return stateOf(accessible).placement.indexInParent;
}

AtkStateSet* refStateSet(AtkObject* accessible) {
  AtkStateSet* states =
      ATK_OBJECT_CLASS(kelpo_element_accessible_parent_class)->ref_state_set(accessible);
  GtkWidget* widget = widgetOf(accessible);
  if (widget == nullptr) {
    atk_state_set_add_state(states, ATK_STATE_DEFUNCT);
    return states;
  }
  atk_state_set_add_state(states, ATK_STATE_ENABLED);
  atk_state_set_add_state(states, ATK_STATE_SENSITIVE);
  if (gtk_widget_get_visible(widget)) atk_state_set_add_state(states, ATK_STATE_VISIBLE);
  if (gtk_widget_get_mapped(widget)) atk_state_set_add_state(states, ATK_STATE_SHOWING);
  return states;
}

void kelpo_element_accessible_class_init(KelpoElementAccessibleClass* klass) {
  G_OBJECT_CLASS(klass)->finalize = finalize;
  ATK_OBJECT_CLASS(klass)->get_index_in_parent = indexInParent;
  ATK_OBJECT_CLASS(klass)->ref_state_set = refStateSet;
}

// The element's frame in GDK logical pixels from the widget's origin; edges
// are rounded on their own so that neighbours stay flush.
AtkRectangle pixelFrame(const KelpoElementAccessiblePrivate& state) {
  const double scale = state.placement.pixelsPerPoint;
  const kelpo::ui::Rect& frame = state.element.frame;
  const auto left = std::lround(frame.minX() * scale);
  const auto top = std::lround(frame.minY() * scale);
  return {static_cast<gint>(left), static_cast<gint>(top),
          static_cast<gint>(std::lround(frame.maxX() * scale) - left),
          static_cast<gint>(std::lround(frame.maxY() * scale) - top)};
}

// Where the widget's top-left corner is, in the coordinates asked for.
bool widgetOrigin(GtkWidget* widget, AtkCoordType coordinates, gint& x, gint& y) {
  x = 0;
  y = 0;
  if (coordinates == ATK_XY_PARENT) return true;
  GdkWindow* window = gtk_widget_get_window(widget);
  if (window == nullptr) return false;
  gdk_window_get_origin(window, &x, &y);
  if (!gtk_widget_get_has_window(widget)) {
    GtkAllocation allocation;
    gtk_widget_get_allocation(widget, &allocation);
    x += allocation.x;
    y += allocation.y;
  }
  if (coordinates == ATK_XY_WINDOW) {
    gint windowX = 0;
    gint windowY = 0;
    gdk_window_get_origin(gdk_window_get_toplevel(window), &windowX, &windowY);
    x -= windowX;
    y -= windowY;
  }
  return true;
}

void getExtents(AtkComponent* component, gint* x, gint* y, gint* width, gint* height,
                AtkCoordType coordinates) {
  *x = *y = *width = *height = -1;
  GtkWidget* widget = widgetOf(ATK_OBJECT(component));
  gint originX = 0;
  gint originY = 0;
  if (widget == nullptr || !widgetOrigin(widget, coordinates, originX, originY)) return;
  const AtkRectangle frame = pixelFrame(stateOf(component));
  *x = originX + frame.x;
  *y = originY + frame.y;
  *width = frame.width;
  *height = frame.height;
}

AtkLayer layerOf(AtkComponent*) {
  return ATK_LAYER_WIDGET;
}

void kelpo_element_accessible_component_init(AtkComponentIface* iface) {
  iface->get_extents = getExtents;
  iface->get_layer = layerOf;
}

gint actionCount(AtkAction* action) {
  return stateOf(action).element.link ? 1 : 0;
}

gboolean doAction(AtkAction* action, gint index) {
  const KelpoElementAccessiblePrivate& state = stateOf(action);
  if (index != 0 || !state.element.link || !state.placement.openLink) return FALSE;
  kelpo::desktop::openLinkSoon(*state.element.link, state.placement.openLink);
  return TRUE;
}

const gchar* actionName(AtkAction* action, gint index) {
  return index == 0 && actionCount(action) == 1 ? kelpo::desktop::clickActionName : nullptr;
}

const gchar* actionDescription(AtkAction* action, gint index) {
  return index == 0 && actionCount(action) == 1 ? kelpo::desktop::clickActionDescription : nullptr;
}

void kelpo_element_accessible_action_init(AtkActionIface* iface) {
  iface->get_n_actions = actionCount;
  iface->do_action = doAction;
  iface->get_name = actionName;
  iface->get_description = actionDescription;
}

// The bounds in the widget's own coordinates, for the bounds-changed signal.
void announceBounds(AtkObject* accessible, const KelpoElementAccessiblePrivate& state) {
  AtkRectangle bounds = pixelFrame(state);
  g_signal_emit_by_name(accessible, "bounds-changed", &bounds);
}

}  // namespace

namespace kelpo::desktop {

ObjectRef<AtkObject> makeElementAccessible(AtkObject* parent,
                                           const ui::AccessibilityElement& element,
                                           ElementPlacement placement) {
  ObjectRef<AtkObject> accessible(
      ATK_OBJECT(g_object_new(kelpo_element_accessible_get_type(), nullptr)));
  KelpoElementAccessiblePrivate& state = stateOf(accessible.get());
  state.element = element;
  state.placement = std::move(placement);
  atk_object_set_parent(accessible.get(), parent);
  atk_object_set_name(accessible.get(), element.label.c_str());
  atk_object_set_description(accessible.get(), element.value.value_or("").c_str());
  atk_object_set_role(accessible.get(), roleOf(element));
  return accessible;
}

void updateElementAccessible(AtkObject* accessible, const ui::AccessibilityElement& element,
                             ElementPlacement placement) {
  KelpoElementAccessiblePrivate& state = stateOf(accessible);
  const AtkRectangle was = pixelFrame(state);
  const ui::AccessibilityElement before = std::exchange(state.element, element);
  state.placement = std::move(placement);
  // Setting the name, description or role notifies AT-SPI of the change.
  if (before.label != element.label) atk_object_set_name(accessible, element.label.c_str());
  if (before.value != element.value) {
    atk_object_set_description(accessible, element.value.value_or("").c_str());
  }
  if (roleOf(before) != roleOf(element)) atk_object_set_role(accessible, roleOf(element));
  const AtkRectangle now = pixelFrame(state);
  if (was.x != now.x || was.y != now.y || was.width != now.width || was.height != now.height) {
    announceBounds(accessible, state);
  }
}

}  // namespace kelpo::desktop
