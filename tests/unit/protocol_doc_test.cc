// docs/protocol.md against protocol/: the document's summary table must list exactly the
// messages of protocol/codes.h, with the same name, sender, fixed size and reply kind,
// and every message it names in a section heading must exist.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "protocol/protocol.h"

#ifndef ZEMA_SOURCE_DIR

TEST(ProtocolDoc, SourceDirectoryIsKnown) {
  FAIL() << "ZEMA_SOURCE_DIR is not defined: compile this test with "
            "-DZEMA_SOURCE_DIR='\"<source root>\"' (in CMake: target_compile_definitions("
            "<target> PRIVATE ZEMA_SOURCE_DIR=\"${PROJECT_SOURCE_DIR}\"))";
}

#else

namespace {

using zema::protocol::kCodeLimit;
using zema::protocol::MessageInfo;
using zema::protocol::messageInfo;
using zema::protocol::Reply;
using zema::protocol::Sender;

constexpr char kDocPath[] = ZEMA_SOURCE_DIR "/docs/protocol.md";
constexpr char kTableHeader[] = "| Code | Name | Sender | Size | Reply |";

const char* senderText(Sender sender) {
  return sender == Sender::Host ? "host" : "controller";
}

const char* replyText(Reply reply) {
  switch (reply) {
    case Reply::None:
      return "—";
    case Reply::GlValue:
      return "GL value";
    case Reply::GlData:
      return "GL data";
    case Reply::GlString:
      return "GL string";
    case Reply::Script:
      return "script";
    case Reply::ClipboardText:
      return "clipboard text";
  }
  return "?";
}

std::string trim(const std::string& text) {
  size_t begin = text.find_first_not_of(" \t\r");
  if (begin == std::string::npos) return "";
  size_t end = text.find_last_not_of(" \t\r");
  return text.substr(begin, end - begin + 1);
}

// The cells of a table row "| a | b |", trimmed, without code spans' backticks.
std::vector<std::string> cells(const std::string& line) {
  std::vector<std::string> out;
  std::string row = trim(line);
  if (row.size() < 2 || row.front() != '|' || row.back() != '|') return out;
  std::stringstream parts(row.substr(1, row.size() - 2));
  std::string cell;
  while (std::getline(parts, cell, '|')) {
    std::string text;
    for (char c : trim(cell))
      if (c != '`') text += c;
    out.push_back(text);
  }
  return out;
}

struct Row {
  int line = 0;
  std::vector<std::string> cells;
};

struct Doc {
  bool read = false;
  std::vector<std::string> lines;
  std::vector<int> tableHeaders;  // line numbers (1-based) of summary table headers
  std::vector<Row> rows;          // the rows of the first summary table
};

const Doc& doc() {
  static const Doc loaded = [] {
    Doc d;
    std::ifstream in(kDocPath);
    if (!in) return d;
    d.read = true;
    for (std::string line; std::getline(in, line);) d.lines.push_back(line);
    for (size_t i = 0; i < d.lines.size(); ++i)
      if (trim(d.lines[i]) == kTableHeader) d.tableHeaders.push_back(static_cast<int>(i + 1));
    if (!d.tableHeaders.empty()) {
      // Past the header and its |---| line, every line that starts with '|' is a row.
      for (size_t i = static_cast<size_t>(d.tableHeaders.front()) + 1; i < d.lines.size(); ++i) {
        if (trim(d.lines[i]).empty() || trim(d.lines[i]).front() != '|') break;
        d.rows.push_back(Row{static_cast<int>(i + 1), cells(d.lines[i])});
      }
    }
    return d;
  }();
  return loaded;
}

// Every "MSG_..." word in `text`.
std::vector<std::string> messageNames(const std::string& text) {
  std::vector<std::string> names;
  for (size_t at = text.find("MSG_"); at != std::string::npos; at = text.find("MSG_", at + 4)) {
    size_t end = at + 4;
    while (end < text.size() &&
           (isupper(static_cast<unsigned char>(text[end])) ||
            isdigit(static_cast<unsigned char>(text[end])) || text[end] == '_'))
      ++end;
    names.push_back(text.substr(at, end - at));
  }
  return names;
}

std::map<std::string, uint32_t> knownMessages() {
  std::map<std::string, uint32_t> known;
  for (uint32_t code = 0; code < kCodeLimit; ++code)
    if (messageInfo(code).name != nullptr) known[messageInfo(code).name] = code;
  return known;
}

class ProtocolDoc : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(doc().read) << "cannot read " << kDocPath;
    ASSERT_EQ(doc().tableHeaders.size(), 1u)
        << kDocPath << " must hold exactly one summary table headed \"" << kTableHeader << "\"";
    ASSERT_FALSE(doc().rows.empty()) << "the summary table has no rows";
  }
};

TEST_F(ProtocolDoc, SummaryTableAgreesWithTheMessageList) {
  std::set<uint32_t> listed;
  long previous = -1;
  for (const Row& row : doc().rows) {
    std::string where = std::string(kDocPath) + ":" + std::to_string(row.line) + ": ";
    if (row.cells.size() == 5 && row.cells[0].find_first_of("-:") == 0) continue;  // |---|
    ASSERT_EQ(row.cells.size(), 5u) << where << "a row needs five cells";
    char* end = nullptr;
    unsigned long value = strtoul(row.cells[0].c_str(), &end, 10);
    ASSERT_TRUE(!row.cells[0].empty() && *end == '\0' && value < kCodeLimit)
        << where << "\"" << row.cells[0] << "\" is not a code below " << kCodeLimit;
    auto code = static_cast<uint32_t>(value);
    EXPECT_GT(static_cast<long>(code), previous) << where << "rows must be in code order";
    previous = static_cast<long>(code);
    EXPECT_TRUE(listed.insert(code).second) << where << "code " << code << " is listed twice";

    MessageInfo info = messageInfo(code);
    if (info.name == nullptr) {
      ADD_FAILURE() << where << "code " << code << " (" << row.cells[1]
                    << ") is not in protocol/codes.h";
      continue;
    }
    EXPECT_EQ(row.cells[1], info.name) << where << "name of code " << code;
    EXPECT_EQ(row.cells[2], senderText(info.sender)) << where << "sender of " << info.name;
    EXPECT_EQ(row.cells[3], std::to_string(info.size)) << where << "fixed size of " << info.name;
    EXPECT_EQ(row.cells[4], replyText(info.reply)) << where << "reply of " << info.name;
  }
  for (const auto& [name, code] : knownMessages())
    EXPECT_TRUE(listed.count(code) == 1)
        << name << " (" << code << ") is in protocol/codes.h but not in the summary table";
}

TEST_F(ProtocolDoc, SectionHeadingsNameOnlyExistingMessages) {
  std::map<std::string, uint32_t> known = knownMessages();
  std::set<std::string> headed;
  for (size_t i = 0; i < doc().lines.size(); ++i) {
    const std::string& line = doc().lines[i];
    if (line.empty() || line.front() != '#') continue;
    for (const std::string& name : messageNames(line)) {
      EXPECT_TRUE(known.count(name) == 1) << kDocPath << ":" << i + 1 << ": heading names " << name
                                          << ", which protocol/codes.h does not have";
      headed.insert(name);
    }
  }
  // One section per message.
  for (const auto& [name, code] : known)
    EXPECT_TRUE(headed.count(name) == 1) << name << " has no section heading in " << kDocPath;
}

}  // namespace

#endif  // ZEMA_SOURCE_DIR
