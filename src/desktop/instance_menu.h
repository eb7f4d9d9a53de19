#pragma once

// The menu a person opens on a widget instance (a secondary click, the Menu
// key, Shift+F10): open the application, reload, change the size, the
// appearance or the corner, add a widget, start at login, remove this one.
// Drawn by GTK, so it follows the desktop's theme and screen readers read
// it; its texts come from the widget's phrase table.

#include <gtk/gtk.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/locale/phrases.h"
#include "desktop/handling/menu_dismissal.h"
#include "desktop/menu_shield.h"
#include "desktop/settings/desktop_settings.h"
#include "widget/widget_family.h"

namespace kelpo::desktop {

enum class MenuAction { open, reload, resize, appearance, moveToCorner, add, startAtLogin, remove };

// What a person chose; the fields that go with the action are set.
struct MenuRequest {
  MenuAction action = MenuAction::reload;
  WidgetFamily family = WidgetFamily::systemMedium;  // resize, add
  AppearanceChoice appearance = AppearanceChoice::automatic;
  Corner corner = Corner::topRight;
  bool on = false;  // startAtLogin
};

// What the menu shows as chosen.
struct MenuState {
  WidgetFamily family = WidgetFamily::systemMedium;
  AppearanceChoice appearance = AppearanceChoice::automatic;
  bool startsAtLogin = false;
  // Why desktop.ini could not be saved, if the last save failed.
  std::optional<std::string> saveProblem;
  // False when no widget can be added from this one (no free spot left, or
  // as many shown as the host takes): "Ajouter un widget" says so and its
  // items cannot be chosen.
  bool roomToAdd = true;
};

using MenuChoice = std::function<void(const MenuRequest&)>;

// One menu, built for `state`, attached to `window`; destroyed with the
// object. `choose` is called with what the person picks; `help` keeps it
// closable where its grab does not reach every client.
class InstanceMenu {
 public:
  InstanceMenu(GtkWidget* window, std::shared_ptr<const PhraseBook> phrases, const MenuState& state,
               MenuChoice choose, MenuHelp help = {});
  InstanceMenu(const InstanceMenu&) = delete;
  InstanceMenu& operator=(const InstanceMenu&) = delete;
  ~InstanceMenu();

  // Shows `state` as chosen: the menu is made once and kept, so a screen
  // reader is never left with the items of a menu that is gone.
  void show(const MenuState& state);
  // At the pointer for a click, else at the widget (the keyboard).
  void popUp(const GdkEvent* trigger);

 private:
  static void onActivate(GtkMenuItem* item, gpointer self);
  static void onDeactivate(GtkMenuShell*, gpointer self);
  static gboolean onKeyRelease(GtkWidget*, GdkEventKey* event, gpointer self);
  static gboolean onWindowState(GtkWidget*, GdkEventWindowState* event, gpointer self);
  void takeFocus(const GdkEvent* trigger);
  [[nodiscard]] GtkWidget* item(const char* key) const;
  void add(GtkWidget* menu, GtkWidget* item, MenuRequest request);
  void addChoice(GtkWidget* menu, GSList*& group, const char* key, MenuRequest request);
  [[nodiscard]] GtkWidget* submenu(GtkWidget* menu, const char* key) const;

  GtkWidget* window_;
  std::shared_ptr<const PhraseBook> phrases_;
  MenuChoice choose_;
  std::vector<MenuRequest> requests_;  // by the index each item carries
  // The items that show a choice, with what they ask.
  std::vector<std::pair<GtkWidget*, MenuRequest>> choices_;
  GtkWidget* login_ = nullptr;
  GtkWidget* problem_ = nullptr;    // first, shown only while saves fail
  GtkWidget* additions_ = nullptr;  // the "Ajouter un widget" submenu
  bool showing_ = false;            // while items are set to the state: no request
  GtkWidget* menu_ = nullptr;       // a reference of our own, dropped on destruction
  MenuHelp help_;
  std::unique_ptr<MenuShield> shield_;  // where help_ catches clicks
  MenuDismissal focus_;
};

}  // namespace kelpo::desktop
