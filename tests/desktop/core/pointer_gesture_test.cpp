#include "desktop/handling/pointer_gesture.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace kelpo::desktop::gesture {

// Readable outcomes in failures.
std::ostream& operator<<(std::ostream& out, ui::Point p) {
  return out << "(" << p.x << ", " << p.y << ")";
}
std::ostream& operator<<(std::ostream& out, const ui::Rect& r) {
  return out << r.origin << " " << r.size.width << "x" << r.size.height;
}
void PrintTo(const Hover& h, std::ostream* out) {
  *out << "hover at " << h.local;
}
void PrintTo(const HoverEnded&, std::ostream* out) {
  *out << "hover ended";
}
void PrintTo(const MoveTo& m, std::ostream* out) {
  *out << "move to " << m.frame;
}
void PrintTo(const DropAt& d, std::ostream* out) {
  *out << "drop at " << d.frame;
}
void PrintTo(const PutBack& p, std::ostream* out) {
  *out << "put back at " << p.frame;
}
void PrintTo(const ClickAt& c, std::ostream* out) {
  *out << "click at " << c.local;
}
void PrintTo(const OpenMenu&, std::ostream* out) {
  *out << "open the menu";
}

namespace {

constexpr double threshold = 8;
// Pressed a quarter of the way into the frame both ways.
const ui::Size medium{364, 170};
const ui::Rect before{{100, 50}, medium};
const ui::Point grip{191, 92.5};
const ui::Point inside{91, 42.5};

Motion heldAt(ui::Point pointer) {
  return {pointer, inside, true};
}
Motion freeAt(ui::Point pointer) {
  return {pointer, inside, false};
}
PrimaryRelease releaseAt(ui::Point pointer) {
  return {pointer, inside};
}
ui::Rect mediumAt(double x, double y) {
  return {{x, y}, medium};
}

struct Step {
  Event event;
  std::vector<Outcome> outcomes;
  bool dragging = false;  // wants the keyboard afterwards
};

struct Case {
  std::string name;
  std::vector<Step> steps;
};

// Each case is something a person does that the window got wrong when a
// leave ended every press not yet dragging, a held button hovered, and a
// secondary click, Escape, a new size or a lost grab were not part of a drag.
const std::vector<Case> cases = {
    {"a flick leaves the window before its first motion, 200 points on",
     {{PrimaryPress{grip, before}, {}},
      {Leave{}, {HoverEnded{}}},
      {heldAt({391, 92.5}), {MoveTo{mediumAt(300, 50), {391, 92.5}}}, true},
      {releaseAt({391, 92.5}), {DropAt{mediumAt(300, 50), {391, 92.5}}}}}},
    {"a press 4 points above the bottom edge pulled slowly down",
     {{PrimaryPress{{191, 216}, before}, {}},
      {heldAt({191, 219}), {}},
      {Leave{}, {HoverEnded{}}},
      {heldAt({191, 222}), {}},
      {heldAt({191, 226}), {MoveTo{mediumAt(100, 60), {191, 226}}}, true},
      {releaseAt({191, 240}), {DropAt{mediumAt(100, 74), {191, 240}}}}}},
    {"a press at the edge that trembles out and back is still a click",
     {{PrimaryPress{{101, 51}, before}, {}},
      {Leave{}, {HoverEnded{}}},
      {Enter{{2, 1}}, {}},
      {PrimaryRelease{{103, 52}, {3, 2}}, {ClickAt{{3, 2}}}},
      {freeAt({103, 52}), {Hover{inside}}}}},
    {"a held button does not hover; once released it does",
     {{PrimaryPress{grip, before}, {}},
      {heldAt({195, 96}), {}},
      {releaseAt({195, 96}), {ClickAt{inside}}},
      {freeAt({196, 96}), {Hover{inside}}}}},
    {"a release lost elsewhere: the drag keeps its last place and opens no link",
     {{PrimaryPress{grip, before}, {}},
      {heldAt({291, 92.5}), {MoveTo{mediumAt(200, 50), {291, 92.5}}}, true},
      {freeAt({193, 93}), {DropAt{mediumAt(200, 50), {291, 92.5}}, Hover{inside}}},
      {freeAt({400, 93}), {Hover{inside}}},
      {releaseAt({400, 93}), {}}}},
    {"a secondary click mid-drag drops the widget there and does no more",
     {{PrimaryPress{grip, before}, {}},
      {heldAt({291, 92.5}), {MoveTo{mediumAt(200, 50), {291, 92.5}}}, true},
      {SecondaryPress{}, {DropAt{mediumAt(200, 50), {291, 92.5}}}},
      {heldAt({391, 92.5}), {}},
      {releaseAt({391, 92.5}), {}},
      {SecondaryPress{}, {OpenMenu{}}}}},
    {"Escape mid-drag puts the widget back and keeps nothing",
     {{PrimaryPress{grip, before}, {}},
      {heldAt({291, 192.5}), {MoveTo{mediumAt(200, 150), {291, 192.5}}}, true},
      {EscapeKey{}, {PutBack{before}}},
      {heldAt({391, 92.5}), {}},
      {releaseAt({391, 92.5}), {}},
      {EscapeKey{}, {}}}},
    {"turned small mid-drag, the widget stays under the pointer at the same fraction",
     {{PrimaryPress{grip, before}, {}},
      {heldAt({291, 92.5}), {MoveTo{mediumAt(200, 50), {291, 92.5}}}, true},
      {Resized{{170, 170}}, {MoveTo{{{248.5, 50}, {170, 170}}, {291, 92.5}}}, true},
      {releaseAt({301, 102.5}), {DropAt{{{258.5, 60}, {170, 170}}, {301, 102.5}}}}}},
    {"a grab taken away mid-drag keeps the last place",
     {{PrimaryPress{grip, before}, {}},
      {heldAt({291, 92.5}), {MoveTo{mediumAt(200, 50), {291, 92.5}}}, true},
      {GrabBroken{}, {DropAt{mediumAt(200, 50), {291, 92.5}}}},
      {releaseAt({391, 92.5}), {}}}},
};

TEST(PointerGesture, WhatAPersonDoesBecomesWhatTheyMeant) {
  for (const Case& each : cases) {
    PointerGesture gesture(threshold);
    for (std::size_t step = 0; step < each.steps.size(); ++step) {
      const Step& expected = each.steps[step];
      EXPECT_EQ(gesture.handle(expected.event), expected.outcomes)
          << each.name << ", step " << step + 1;
      EXPECT_EQ(gesture.dragging(), expected.dragging)
          << each.name << ", step " << step + 1 << ": the keyboard is wanted while dragging";
    }
  }
}

}  // namespace
}  // namespace kelpo::desktop::gesture
