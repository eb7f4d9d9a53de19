// The widget window's accessible object follows the elements it is handed:
// children kept in place across a reload, frames scaled to GDK pixels. What
// each child says, its role and its click are read and pressed from outside,
// through AT-SPI, by the screen reader scenario.

#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <string>
#include <vector>

#include "desktop/accessibility/accessible_widget_window.h"
#include "desktop/accessibility/widget_accessible.h"

namespace kelpo::desktop {
namespace {

using ui::AccessibilityElement;
using ui::AccessibilityRole;

// clang-format off
const std::vector<AccessibilityElement> firstTree{
    {"Ta semaine", "2 h 15 / 5 h", {{10, 20}, {30, 40}}, AccessibilityRole::image, std::nullopt},
    {"Note 7 sur 10", std::nullopt, {{50, 60}, {22, 22}}, AccessibilityRole::image, "kelpo://topic/A"},
    {"Un titre", std::nullopt, {{80, 60}, {100, 15}}, AccessibilityRole::text, "kelpo://topic/A"},
};
// clang-format on

class AccessibilityBridge : public ::testing::Test {
 protected:
  void SetUp() override {
    gtk_widget_realize(window_);
    accessible_ = gtk_widget_get_accessible(window_);
  }
  void TearDown() override { gtk_widget_destroy(window_); }

  void publish(std::vector<AccessibilityElement> elements, double pixelsPerPoint = 1) {
    publishElements(accessible_, {std::move(elements), "kelpo://inbox", pixelsPerPoint,
                                  [](const std::string&) {}});
  }
  [[nodiscard]] AtkObject* child(int index) const {
    AtkObject* object = atk_object_ref_accessible_child(accessible_, index);
    g_object_unref(object);  // the window keeps its own reference
    return object;
  }

  GtkWidget* window_ = newAccessibleWidgetWindow(nullptr);
  AtkObject* accessible_ = nullptr;
};

// A screen reader keeps its place in the widget only if a reload changes
// the objects it holds instead of replacing them.
TEST_F(AccessibilityBridge, AReloadKeepsObjectsInPlace) {
  publish(firstTree, 2);
  AtkObject* ring = child(0);
  AtkObject* badge = child(1);
  gint x = 0, y = 0, width = 0, height = 0;
  atk_component_get_extents(ATK_COMPONENT(ring), &x, &y, &width, &height, ATK_XY_WINDOW);
  EXPECT_EQ((std::vector<gint>{x, y, width, height}), (std::vector<gint>{20, 40, 60, 80}));

  auto reloaded = firstTree;
  reloaded[1].label = "Note 10 sur 10, pépite";
  reloaded.pop_back();
  publish(reloaded);
  EXPECT_EQ(atk_object_get_n_accessible_children(accessible_), 2);
  EXPECT_EQ(child(0), ring);
  EXPECT_EQ(child(1), badge);
  EXPECT_STREQ(atk_object_get_name(badge), "Note 10 sur 10, pépite");
}

// The frame reads as focusable only while the window offers the focus, and
// a screen reader's grab_focus gets the window's own answer; the rest of the
// component (its extents) stays GTK's window's.
TEST_F(AccessibilityBridge, GrabFocusAsksTheWindow) {
  const auto states = [this] {
    AtkStateSet* set = atk_object_ref_state_set(accessible_);
    const bool focusable = atk_state_set_contains_state(set, ATK_STATE_FOCUSABLE) != 0;
    g_object_unref(set);
    return focusable;
  };
  EXPECT_FALSE(states());
  EXPECT_FALSE(atk_component_grab_focus(ATK_COMPONENT(accessible_)));

  int asked = 0;
  bool answer = true;
  offerAccessibleFocus(window_, [&] {
    ++asked;
    return answer;
  });
  EXPECT_TRUE(states());
  EXPECT_TRUE(atk_component_grab_focus(ATK_COMPONENT(accessible_)));
  answer = false;
  EXPECT_FALSE(atk_component_grab_focus(ATK_COMPONENT(accessible_)));
  EXPECT_EQ(asked, 2);

  gtk_window_resize(GTK_WINDOW(window_), 120, 80);
  gtk_widget_show(window_);
  gint x = 0, y = 0, width = 0, height = 0;
  atk_component_get_extents(ATK_COMPONENT(accessible_), &x, &y, &width, &height, ATK_XY_SCREEN);
  EXPECT_GT(width, 0);
  EXPECT_GT(height, 0);

  offerAccessibleFocus(window_, nullptr);
  EXPECT_FALSE(states());
  EXPECT_FALSE(atk_component_grab_focus(ATK_COMPONENT(accessible_)));
  EXPECT_EQ(asked, 2);
}

}  // namespace
}  // namespace kelpo::desktop

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (!gtk_init_check(&argc, &argv)) {
    g_printerr("accessibility bridge test: no display (run it under Xvfb)\n");
    return 1;
  }
  return RUN_ALL_TESTS();
}
