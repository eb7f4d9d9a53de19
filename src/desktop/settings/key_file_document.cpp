#include "desktop/settings/key_file_document.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace kelpo::desktop {
namespace {

constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view spaces = " \t";

[[nodiscard]] std::string_view trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(spaces);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(spaces) - first + 1);
}

[[nodiscard]] bool isGroupName(std::string_view name) {
  return !name.empty() && std::none_of(name.begin(), name.end(), [](char c) {
    return c == '[' || c == ']' || static_cast<unsigned char>(c) < 0x20;
  });
}

}  // namespace

KeyFileDocument KeyFileDocument::parse(std::string_view text) {
  KeyFileDocument document;
  if (text.starts_with(byteOrderMark)) {
    document.byteOrderMark_ = true;
    text.remove_prefix(byteOrderMark.size());
  }
  std::string group;
  while (!text.empty()) {
    const auto end = text.find('\n');
    const std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    Line classified = classify(std::string(line), group);
    if (classified.kind == Kind::header) group = classified.group;
    document.lines_.push_back(std::move(classified));
  }
  return document;
}

KeyFileDocument::Line KeyFileDocument::classify(std::string text, const std::string& group) {
  Line line{std::move(text), Kind::stray, group, {}, {}};
  std::string_view content = line.text;
  if (content.ends_with('\r')) content.remove_suffix(1);
  const std::string_view bare = trimmed(content);
  if (bare.empty()) {
    line.kind = Kind::blank;
  } else if (bare.front() == '#') {
    line.kind = Kind::comment;
  } else if (bare.front() == '[' && bare.back() == ']' && bare.size() > 2 &&
             isGroupName(bare.substr(1, bare.size() - 2))) {
    line.kind = Kind::header;
    line.group = std::string(bare.substr(1, bare.size() - 2));
  } else if (const auto equals = bare.find('=');
             equals != std::string_view::npos && !group.empty()) {
    const std::string_view key = trimmed(bare.substr(0, equals));
    if (!key.empty()) {
      line.kind = Kind::entry;
      line.key = std::string(key);
      line.value = std::string(trimmed(bare.substr(equals + 1)));
    }
  }
  return line;
}

std::vector<std::string> KeyFileDocument::groups() const {
  std::vector<std::string> names;
  for (const Line& line : lines_) {
    if (line.kind == Kind::header &&
        std::find(names.begin(), names.end(), line.group) == names.end()) {
      names.push_back(line.group);
    }
  }
  return names;
}

std::optional<std::size_t> KeyFileDocument::lastEntry(std::string_view group,
                                                      std::string_view key) const {
  for (std::size_t i = lines_.size(); i-- > 0;) {
    const Line& line = lines_[i];
    if (line.kind == Kind::entry && line.group == group && line.key == key) return i;
  }
  return std::nullopt;
}

std::optional<std::string> KeyFileDocument::value(std::string_view group,
                                                  std::string_view key) const {
  if (const auto index = lastEntry(group, key)) return lines_[*index].value;
  return std::nullopt;
}

std::vector<std::size_t> KeyFileDocument::strayLines() const {
  std::vector<std::size_t> numbers;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (lines_[i].kind == Kind::stray) numbers.push_back(i + 1);
  }
  return numbers;
}

std::size_t KeyFileDocument::sectionEnd(std::size_t header) const {
  std::size_t end = header + 1;
  while (end < lines_.size() && lines_[end].kind != Kind::header) ++end;
  return end;
}

void KeyFileDocument::set(std::string_view group, std::string_view key, std::string_view value) {
  const std::string groupName(group);
  Line entry = classify(std::string(key) + "=" + std::string(value), groupName);
  if (const auto index = lastEntry(group, key)) {
    lines_[*index] = std::move(entry);
    return;
  }
  for (std::size_t header = lines_.size(); header-- > 0;) {
    if (lines_[header].kind != Kind::header || lines_[header].group != group) continue;
    std::size_t at = header + 1;
    for (std::size_t i = at; i < sectionEnd(header); ++i) {
      if (lines_[i].kind == Kind::entry) at = i + 1;
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), std::move(entry));
    return;
  }
  if (!lines_.empty() && lines_.back().kind != Kind::blank) {
    lines_.push_back(classify("", lines_.back().group));
  }
  lines_.push_back(classify("[" + groupName + "]", groupName));
  lines_.push_back(std::move(entry));
}

void KeyFileDocument::remove(std::string_view group, std::string_view key) {
  std::erase_if(lines_, [&](const Line& line) {
    return line.kind == Kind::entry && line.group == group && line.key == key;
  });
}

void KeyFileDocument::removeGroup(std::string_view group) {
  while (true) {
    const auto header = std::find_if(lines_.begin(), lines_.end(), [&](const Line& line) {
      return line.kind == Kind::header && line.group == group;
    });
    if (header == lines_.end()) return;
    const auto index = static_cast<std::size_t>(std::distance(lines_.begin(), header));
    std::size_t start = index;
    while (start > 0 && lines_[start - 1].kind == Kind::comment) --start;
    std::size_t end = sectionEnd(index);
    // Comments just above the next header are that group's.
    if (end < lines_.size()) {
      while (end > index + 1 && lines_[end - 1].kind == Kind::comment) --end;
    }
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(start),
                 lines_.begin() + static_cast<std::ptrdiff_t>(end));
  }
}

std::string KeyFileDocument::text() const {
  std::string text = byteOrderMark_ ? std::string(byteOrderMark) : std::string();
  for (const Line& line : lines_) {
    text += line.text;
    text += '\n';
  }
  return text;
}

}  // namespace kelpo::desktop
