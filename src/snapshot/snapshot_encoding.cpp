#include <charconv>
#include <cstdint>
#include <string>

#include "snapshot/snapshot_json.h"

namespace kelpo {
namespace {

// Appends JSON text: keys and values with commas and, when pretty, newlines
// and two-space indentation. The caller opens and closes every container.
class JsonWriter {
 public:
  explicit JsonWriter(bool pretty) : pretty_(pretty) {}

  [[nodiscard]] std::string take() { return std::move(out_); }

  void openObject() { open('{'); }
  void closeObject() { close('}'); }
  void openArray() { open('['); }
  void closeArray() { close(']'); }

  // Starts a member of the object being written; its value follows.
  void key(std::string_view name) {
    beginValue();
    appendString(name);
    out_ += pretty_ ? ": " : ":";
    afterKey_ = true;
  }

  void integer(std::int64_t value) {
    beginValue();
    char buffer[24];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    (void)error;
    out_.append(buffer, end);
  }

  void boolean(bool value) {
    beginValue();
    out_ += value ? "true" : "false";
  }

  void string(std::string_view value) {
    beginValue();
    appendString(value);
  }

 private:
  void open(char bracket) {
    beginValue();
    out_ += bracket;
    ++depth_;
    empty_ = true;
  }

  void close(char bracket) {
    --depth_;
    if (!empty_) newline();
    out_ += bracket;
    empty_ = false;
  }

  // Separates this value from the previous sibling, unless it follows its key.
  void beginValue() {
    if (afterKey_) {
      afterKey_ = false;
      return;
    }
    if (depth_ == 0) return;
    if (!empty_) out_ += ',';
    newline();
    empty_ = false;
  }

  void newline() {
    if (!pretty_) return;
    out_ += '\n';
    out_.append(static_cast<std::size_t>(depth_) * 2, ' ');
  }

  // Quotes, backslashes and control characters are escaped; everything else,
  // UTF-8 sequences included, is copied as it is.
  void appendString(std::string_view text) {
    static constexpr char hexDigits[] = "0123456789abcdef";
    out_ += '"';
    for (const char c : text) {
      switch (c) {
        case '"':
          out_ += "\\\"";
          break;
        case '\\':
          out_ += "\\\\";
          break;
        case '\b':
          out_ += "\\b";
          break;
        case '\f':
          out_ += "\\f";
          break;
        case '\n':
          out_ += "\\n";
          break;
        case '\r':
          out_ += "\\r";
          break;
        case '\t':
          out_ += "\\t";
          break;
        default:
          if (static_cast<unsigned char>(c) < 0x20) {
            out_ += "\\u00";
            out_ += hexDigits[(c >> 4) & 0x0F];
            out_ += hexDigits[c & 0x0F];
          } else {
            out_ += c;
          }
      }
    }
    out_ += '"';
  }

  bool pretty_;
  std::string out_;
  int depth_ = 0;
  bool empty_ = true;
  bool afterKey_ = false;
};

void writeItem(JsonWriter& writer, const WidgetSnapshot::Item& item) {
  writer.openObject();
  writer.key("id");
  writer.string(item.id.string());
  writer.key("title");
  writer.string(item.title);
  writer.key("score");
  writer.integer(item.score);
  writer.key("gallery");
  writer.string(rawValue(item.gallery));
  writer.key("detail");
  writer.string(item.detail);
  writer.key("unread");
  writer.boolean(item.unread);
  writer.closeObject();
}

void writeItems(JsonWriter& writer, std::string_view key,
                const std::vector<WidgetSnapshot::Item>& items) {
  writer.key(key);
  writer.openArray();
  for (const auto& item : items) writeItem(writer, item);
  writer.closeArray();
}

void writeInteger(JsonWriter& writer, std::string_view key, std::int64_t value) {
  writer.key(key);
  writer.integer(value);
}

void writeText(JsonWriter& writer, std::string_view key, std::string_view value) {
  writer.key(key);
  writer.string(value);
}

}  // namespace

std::string encodeSnapshot(const WidgetSnapshot& snapshot, bool pretty) {
  JsonWriter writer(pretty);
  writer.openObject();
  writeItems(writer, "toSort", snapshot.toSort);
  writeInteger(writer, "toSortCount", snapshot.toSortCount);
  writeItems(writer, "program", snapshot.program);
  writeInteger(writer, "programCount", snapshot.programCount);
  writeInteger(writer, "weekDone", snapshot.weekDone);
  writeInteger(writer, "weekPlanned", snapshot.weekPlanned);
  writeInteger(writer, "weekBudget", snapshot.weekBudget);
  if (snapshot.weekDoneCount) writeInteger(writer, "weekDoneCount", *snapshot.weekDoneCount);
  writeText(writer, "weekLabel", snapshot.weekLabel);
  if (snapshot.weekLeftLabel) writeText(writer, "weekLeftLabel", *snapshot.weekLeftLabel);
  if (snapshot.weekBudgetLabel) writeText(writer, "weekBudgetLabel", *snapshot.weekBudgetLabel);
  writeText(writer, "nextSearch", formatInstant(snapshot.nextSearch));
  writer.key("searching");
  writer.boolean(snapshot.searching);
  writeText(writer, "accent", snapshot.accent);
  writer.closeObject();
  std::string json = writer.take();
  if (pretty) json += '\n';
  return json;
}

}  // namespace kelpo
