#pragma once

// A key file (desktop.ini) kept line by line, so that what the host writes
// changes only the keys it sets: every comment, blank line, unknown key and
// line it cannot read stays where the person put it. Reading never fails; a
// line that is neither a group, a key, a comment nor blank is kept as
// written and reported, so one typo costs that line only.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelpo::desktop {

class KeyFileDocument {
 public:
  // A byte-order mark at the start is skipped, and written back.
  [[nodiscard]] static KeyFileDocument parse(std::string_view text);

  // The groups, each once, in the order they first appear.
  [[nodiscard]] std::vector<std::string> groups() const;
  // The value of `key` in `group`, its spaces around trimmed; the last one
  // when the key is given twice, as GLib reads it.
  [[nodiscard]] std::optional<std::string> value(std::string_view group,
                                                 std::string_view key) const;
  // The lines (from 1) that mean nothing: not a group, a key in a group, a
  // comment or blank.
  [[nodiscard]] std::vector<std::size_t> strayLines() const;

  // Changes the key where it stands, else adds it after the group's last
  // key, else adds the group at the end.
  void set(std::string_view group, std::string_view key, std::string_view value);
  void remove(std::string_view group, std::string_view key);
  // Removes the group's lines, with the comment lines just above its header.
  void removeGroup(std::string_view group);

  [[nodiscard]] std::string text() const;

 private:
  enum class Kind { blank, comment, header, entry, stray };
  struct Line {
    std::string text;  // as written, without its line end
    Kind kind;
    std::string group;  // the group it belongs to ("" before the first)
    std::string key;    // an entry's key
    std::string value;  // an entry's value
  };

  [[nodiscard]] static Line classify(std::string text, const std::string& group);
  [[nodiscard]] std::optional<std::size_t> lastEntry(std::string_view group,
                                                     std::string_view key) const;
  [[nodiscard]] std::size_t sectionEnd(std::size_t header) const;

  std::vector<Line> lines_;
  bool byteOrderMark_ = false;
};

}  // namespace kelpo::desktop
