#include "components/next_search_line.h"

#include <cstdio>

#include "base/locale/phrases.h"
#include "base/time/calendar.h"
#include "style/neutral_colors.h"

namespace kelpo {
namespace {

[[nodiscard]] std::string clockText(Instant when, const CalendarContext& calendar) {
  if (calendar.usesTwelveHourClock()) return calendar.twelveHourTime(when);
  const HourMinute local = calendar.hourMinute(when);
  char text[16];
  std::snprintf(text, sizeof text, "%d:%02d", local.hour, local.minute);
  return text;
}

// The text after the symbol: the running search, or when the next one runs.
[[nodiscard]] std::string lineText(bool searching, Instant nextSearch, bool isShort,
                                   const ui::Environment& env) {
  const PhraseBook* book = env.phrases.get();
  if (searching) return localize(LocalizedPhrase{"Fouille en cours", {}}, book);
  std::string time = nextSearchTimeText(nextSearch, env);
  if (isShort) return time;
  return localize(LocalizedPhrase{"Fouille %@", {std::move(time)}}, book);
}

}  // namespace

std::string nextSearchTimeText(Instant when, const ui::Environment& env) {
  const CalendarContext calendar(env.locale, env.timeZone);
  std::string clock = clockText(when, calendar);
  const PhraseBook* book = env.phrases.get();
  switch (calendar.dayDifference(env.now, when)) {
    case 0:
      return localize(LocalizedPhrase{"aujourd’hui %@", {std::move(clock)}}, book);
    case 1:
      return localize(LocalizedPhrase{"demain %@", {std::move(clock)}}, book);
    default:
      // Any other day, past or more than a week ahead, shows only its
      // weekday: the line never shows a date.
      return calendar.abbreviatedWeekday(when) + " " + clock;
  }
}

ui::View NextSearchLine::body() const {
  // The line reads two fields: only they are kept, not the whole snapshot.
  return ui::EnvironmentReader([searching = snapshot.searching, nextSearch = snapshot.nextSearch,
                                isShort = isShort](const ui::Environment& env) {
    const char* symbol = searching ? "magnifyingglass" : "clock";
    return ui::HStack(
               ui::VerticalAlignment::center, 4,
               {
                   ui::Image::systemName(symbol).font(
                       ui::Font::system(9.5, ui::FontWeight::semibold)),
                   ui::Text::verbatim(lineText(searching, nextSearch, isShort, env)).lineLimit(1),
               })
        .font(ui::Font::system(11))
        .foregroundStyle(inkTertiary());
  });
}

}  // namespace kelpo
