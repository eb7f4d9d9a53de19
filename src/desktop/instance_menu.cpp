#include "desktop/instance_menu.h"

#include <array>
#include <string>
#include <utility>

namespace kelpo::desktop {
namespace {

constexpr const char* requestKey = "kelpo-request";

// The French label of each size, the key of its phrase.
[[nodiscard]] const char* sizeLabel(WidgetFamily family) {
  switch (family) {
    case WidgetFamily::systemSmall:
      return "Petit";
    case WidgetFamily::systemMedium:
      break;
  }
  return "Moyen";
}

constexpr std::array<std::pair<AppearanceChoice, const char*>, 3> appearanceLabels{{
    {AppearanceChoice::automatic, "Automatique"},
    {AppearanceChoice::light, "Claire"},
    {AppearanceChoice::dark, "Sombre"},
}};

constexpr std::array<std::pair<Corner, const char*>, 4> cornerLabels{{
    {Corner::topLeft, "En haut à gauche"},
    {Corner::topRight, "En haut à droite"},
    {Corner::bottomLeft, "En bas à gauche"},
    {Corner::bottomRight, "En bas à droite"},
}};

}  // namespace

InstanceMenu::InstanceMenu(GtkWidget* window, std::shared_ptr<const PhraseBook> phrases,
                           const MenuState& state, MenuChoice choose, MenuHelp help)
    : window_(window), phrases_(std::move(phrases)), choose_(std::move(choose)), help_(help) {
  menu_ = gtk_menu_new();
  g_object_ref_sink(menu_);
  // Not a choice: it tells why the places a person gives will not last.
  problem_ = gtk_menu_item_new_with_label("");
  gtk_widget_set_sensitive(problem_, FALSE);
  gtk_menu_shell_append(GTK_MENU_SHELL(menu_), problem_);
  add(menu_, item("Ouvrir kelpo"), {.action = MenuAction::open});
  add(menu_, item("Actualiser"), {.action = MenuAction::reload});
  gtk_menu_shell_append(GTK_MENU_SHELL(menu_), gtk_separator_menu_item_new());

  GtkWidget* sizes = submenu(menu_, "Taille");
  GSList* sizeGroup = nullptr;
  for (const WidgetSize& size : widgetSizes) {
    addChoice(sizes, sizeGroup, sizeLabel(size.family),
              {.action = MenuAction::resize, .family = size.family});
  }
  GtkWidget* appearances = submenu(menu_, "Apparence");
  GSList* appearanceGroup = nullptr;
  for (const auto& [appearance, key] : appearanceLabels) {
    addChoice(appearances, appearanceGroup, key,
              {.action = MenuAction::appearance, .appearance = appearance});
  }
  GtkWidget* corners = submenu(menu_, "Position");
  for (const auto& [corner, key] : cornerLabels) {
    add(corners, item(key), {.action = MenuAction::moveToCorner, .corner = corner});
  }
  gtk_menu_shell_append(GTK_MENU_SHELL(menu_), gtk_separator_menu_item_new());

  additions_ = submenu(menu_, "Ajouter un widget");
  for (const WidgetSize& size : widgetSizes) {
    add(additions_, item(sizeLabel(size.family)),
        {.action = MenuAction::add, .family = size.family});
  }
  login_ = gtk_check_menu_item_new_with_label(
      std::string(phrases_->lookup("Lancer à l’ouverture de session")).c_str());
  add(menu_, login_, {.action = MenuAction::startAtLogin});
  add(menu_, item("Retirer le widget"), {.action = MenuAction::remove});

  gtk_menu_attach_to_widget(GTK_MENU(menu_), window_, nullptr);
  gtk_widget_show_all(menu_);
  show(state);

  if (help_.catchClicks) shield_ = std::make_unique<MenuShield>(window_);
  g_signal_connect(menu_, "deactivate", G_CALLBACK(&InstanceMenu::onDeactivate), this);
  if (help_.takeFocus) {
    g_signal_connect(window_, "window-state-event", G_CALLBACK(&InstanceMenu::onWindowState), this);
    // The release goes to whichever menu holds the grab: a submenu's too.
    for (GtkWidget* each : {menu_, sizes, appearances, corners, additions_}) {
      g_signal_connect(each, "key-release-event", G_CALLBACK(&InstanceMenu::onKeyRelease), this);
    }
  }
}

void InstanceMenu::show(const MenuState& state) {
  showing_ = true;
  for (const auto& [choice, request] : choices_) {
    const bool chosen = request.action == MenuAction::resize
                            ? request.family == state.family
                            : request.appearance == state.appearance;
    gtk_check_menu_item_set_active(GTK_CHECK_MENU_ITEM(choice), chosen);
  }
  gtk_check_menu_item_set_active(GTK_CHECK_MENU_ITEM(login_), state.startsAtLogin);
  if (state.saveProblem) {
    const char* key = state.saveProblem->ends_with(readOnlyReason)
                          ? "Places non enregistrées : fichier en lecture seule"
                          : "Places non enregistrées";
    gtk_menu_item_set_label(GTK_MENU_ITEM(problem_), std::string(phrases_->lookup(key)).c_str());
  }
  gtk_widget_set_visible(problem_, state.saveProblem.has_value());
  // The label says why nothing can be added; a screen reader reads it too.
  GtkWidget* additionsItem = gtk_menu_get_attach_widget(GTK_MENU(additions_));
  const char* additionsKey =
      state.roomToAdd ? "Ajouter un widget" : "Ajouter un widget (plus de place)";
  gtk_menu_item_set_label(GTK_MENU_ITEM(additionsItem),
                          std::string(phrases_->lookup(additionsKey)).c_str());
  gtk_container_foreach(
      GTK_CONTAINER(additions_),
      [](GtkWidget* size, gpointer room) { gtk_widget_set_sensitive(size, GPOINTER_TO_INT(room)); },
      GINT_TO_POINTER(state.roomToAdd ? TRUE : FALSE));
  showing_ = false;
}

InstanceMenu::~InstanceMenu() {
  g_signal_handlers_disconnect_matched(menu_, G_SIGNAL_MATCH_DATA, 0, 0, nullptr, nullptr, this);
  g_signal_handlers_disconnect_matched(window_, G_SIGNAL_MATCH_DATA, 0, 0, nullptr, nullptr, this);
  gtk_widget_destroy(menu_);
  g_object_unref(menu_);
}

void InstanceMenu::popUp(const GdkEvent* trigger) {
  if (shield_) shield_->show();
  if (help_.takeFocus) takeFocus(trigger);
  if (trigger != nullptr && trigger->type == GDK_BUTTON_PRESS) {
    gtk_menu_popup_at_pointer(GTK_MENU(menu_), trigger);
    return;
  }
  gtk_menu_popup_at_widget(GTK_MENU(menu_), window_, GDK_GRAVITY_CENTER, GDK_GRAVITY_NORTH_WEST,
                           trigger);
  // Opened from the keyboard: the first item that can be chosen takes the
  // keyboard focus (not the note of a failed save).
  gtk_menu_shell_select_first(GTK_MENU_SHELL(menu_), TRUE);
}

// The widget window takes no focus of its own; while the menu shows it asks
// for it, so that the compositor sends the keys (Escape) to its X11 client,
// and so that the compositor's moving the focus elsewhere can close it.
void InstanceMenu::takeFocus(const GdkEvent* trigger) {
  GdkWindow* window = gtk_widget_get_window(window_);
  if (window == nullptr) return;
  const guint32 time = trigger != nullptr ? gdk_event_get_time(trigger) : GDK_CURRENT_TIME;
  gtk_window_set_accept_focus(GTK_WINDOW(window_), TRUE);
  gdk_window_focus(window, time);
  focus_.opened((gdk_window_get_state(window) & GDK_WINDOW_STATE_FOCUSED) != 0);
}

void InstanceMenu::onDeactivate(GtkMenuShell*, gpointer self) {
  auto& menu = *static_cast<InstanceMenu*>(self);
  if (menu.shield_) menu.shield_->hide();
  if (menu.help_.takeFocus) {
    // The focus it holds stays until the compositor gives it to something
    // else; only a new one is refused.
    gtk_window_set_accept_focus(GTK_WINDOW(menu.window_), FALSE);
    menu.focus_.closed();
  }
}

gboolean InstanceMenu::onKeyRelease(GtkWidget*, GdkEventKey* event, gpointer self) {
  auto& menu = *static_cast<InstanceMenu*>(self);
  if (event->keyval != GDK_KEY_Escape) return FALSE;
  if (!menu.focus_.escapeReleased()) return FALSE;
  gtk_menu_shell_deactivate(GTK_MENU_SHELL(menu.menu_));
  return TRUE;
}

gboolean InstanceMenu::onWindowState(GtkWidget*, GdkEventWindowState* event, gpointer self) {
  auto& menu = *static_cast<InstanceMenu*>(self);
  if ((event->changed_mask & GDK_WINDOW_STATE_FOCUSED) == 0) return FALSE;
  const bool focused = (event->new_window_state & GDK_WINDOW_STATE_FOCUSED) != 0;
  if (menu.focus_.focusChanged(focused)) gtk_menu_shell_deactivate(GTK_MENU_SHELL(menu.menu_));
  return FALSE;
}

GtkWidget* InstanceMenu::item(const char* key) const {
  return gtk_menu_item_new_with_label(std::string(phrases_->lookup(key)).c_str());
}

void InstanceMenu::add(GtkWidget* menu, GtkWidget* menuItem, MenuRequest request) {
  requests_.push_back(request);
  g_object_set_data(G_OBJECT(menuItem), requestKey, GSIZE_TO_POINTER(requests_.size()));
  g_signal_connect(menuItem, "activate", G_CALLBACK(&InstanceMenu::onActivate), this);
  gtk_menu_shell_append(GTK_MENU_SHELL(menu), menuItem);
}

void InstanceMenu::addChoice(GtkWidget* menu, GSList*& group, const char* key,
                             MenuRequest request) {
  GtkWidget* choice =
      gtk_radio_menu_item_new_with_label(group, std::string(phrases_->lookup(key)).c_str());
  group = gtk_radio_menu_item_get_group(GTK_RADIO_MENU_ITEM(choice));
  choices_.emplace_back(choice, request);
  add(menu, choice, request);
}

GtkWidget* InstanceMenu::submenu(GtkWidget* menu, const char* key) const {
  GtkWidget* parent = item(key);
  GtkWidget* inner = gtk_menu_new();
  gtk_menu_item_set_submenu(GTK_MENU_ITEM(parent), inner);
  gtk_menu_shell_append(GTK_MENU_SHELL(menu), parent);
  return inner;
}

void InstanceMenu::onActivate(GtkMenuItem* menuItem, gpointer self) {
  auto& menu = *static_cast<InstanceMenu*>(self);
  if (menu.showing_) return;  // set to the state, not chosen
  // A radio item is also activated when it turns off because another of its
  // group was chosen: only the one turning on asks.
  if (GTK_IS_RADIO_MENU_ITEM(menuItem) &&
      !gtk_check_menu_item_get_active(GTK_CHECK_MENU_ITEM(menuItem))) {
    return;
  }
  const std::size_t index = GPOINTER_TO_SIZE(g_object_get_data(G_OBJECT(menuItem), requestKey));
  if (index == 0 || index > menu.requests_.size() || !menu.choose_) return;
  MenuRequest asked = menu.requests_[index - 1];
  if (asked.action == MenuAction::startAtLogin) {
    asked.on = gtk_check_menu_item_get_active(GTK_CHECK_MENU_ITEM(menuItem)) != FALSE;
  }
  // The choice may replace this menu (a new size rebuilds the window's
  // state): call it from the main loop, after GTK is done with the item.
  menu.choose_(asked);
}

}  // namespace kelpo::desktop
