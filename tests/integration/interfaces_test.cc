// The interface lookup the plug-in receives, the stub tables and the entries without
// behaviour, called from the test plug-in inside the real host. On i386 the plug-in
// checks each call's effect on the stack pointer, the x87 register stack and the
// callee-saved registers (see tests/plugins/scenarios_interfaces.cc).
#include <algorithm>
#include <chrono>

#include "tests/support/host_test.h"

namespace {

constexpr char kDocument[] = "http://example.org/page.html";

// Not-implemented entries of the 49 tables, and implemented entries with floating-point
// or struct results, and entries that became implemented, that the scenario calls for
// their calling convention only.
// The members of the final versions answered besides the 49 names are among both.
constexpr int kNotImplementedEntries = 81;
constexpr int kProbedImplementedEntries = 96;
// Published members behind the nine stub tables (the first ten of PPB_PDF).
constexpr int kStubEntries = 51;

using InterfacesTest = HostTest;

bool startsWith(const std::string& line, const std::string& prefix) {
  return line.rfind(prefix, 0) == 0;
}

std::vector<std::string> linesContaining(const std::vector<std::string>& lines,
                                         const std::string& needle) {
  std::vector<std::string> found;
  std::copy_if(lines.begin(), lines.end(), std::back_inserter(found),
               [&](const std::string& line) { return line.find(needle) != std::string::npos; });
  return found;
}

std::string joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

TEST_F(InterfacesTest, AllFortyNineNamesAnswerAndNearMissesDoNot) {
  ASSERT_TRUE(startHost({kDocument, "scenario", "interface-lookup"}));
  auto summary = host->waitForStdoutLine("PLUGIN lookup names=");
  ASSERT_TRUE(summary) << host->error();
  // Every name twice and from a plug-in thread gives the same table; the 40 names
  // with tables of their own give 40 different ones; 17 near misses give null.
  EXPECT_EQ(*summary,
            "PLUGIN lookup names=49 found=49 stable=49 threaded=49 distinct=40 near-misses=17 "
            "null=17");
  // The final versions: thirteen names, the three that share a table sharing the right
  // one, none answered with a table of the 49; unpublished versions give null.
  auto final = host->waitForStdoutLine("PLUGIN lookup final names=");
  ASSERT_TRUE(final) << host->error();
  EXPECT_EQ(*final, "PLUGIN lookup final names=13 found=13 right=13 near-misses=9 null=9");
  std::vector<std::string> problems = linesContaining(host->stdoutLines(), "PLUGIN lookup ");
  problems.pop_back();  // the summaries
  problems.pop_back();
  EXPECT_TRUE(problems.empty()) << joined(problems);
}

TEST_F(InterfacesTest, EachStubEntryPrintsExactlyOneTrapLine) {
  ASSERT_TRUE(startHost({kDocument, "scenario", "stub-traps"}));
  auto summary = host->waitForStdoutLine("PLUGIN stub summary");
  ASSERT_TRUE(summary) << host->error();
  EXPECT_EQ(*summary, "PLUGIN stub summary checked=" + std::to_string(kStubEntries) + " failed=0");

  // "stub <interface> <slot>" comes right before the call, "abi <interface> <slot> ok"
  // right after it: exactly one TRAP line in between, and none anywhere else.
  std::vector<std::string> lines = host->stdoutLines();
  int calls = 0;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (!startsWith(lines[i], "PLUGIN stub ") || startsWith(lines[i], "PLUGIN stub summary")) {
      continue;
    }
    ++calls;
    std::string entry = lines[i].substr(std::string("PLUGIN stub ").size());
    ASSERT_LT(i + 2, lines.size()) << joined(lines);
    EXPECT_EQ(lines[i + 1], "TRAP") << "after " << lines[i];
    EXPECT_EQ(lines[i + 2], "PLUGIN abi " + entry + " ok") << "after " << lines[i];
  }
  EXPECT_EQ(calls, kStubEntries);
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "TRAP"), kStubEntries);
  // Stubs have no effect beyond the line: nothing reaches the controlling process.
  EXPECT_TRUE(channel.expectSilence(std::chrono::milliseconds(200))) << channel.lastError();
}

// On i386: a struct result pops the hidden pointer and returns it in EAX, a double or
// float result is one x87 value, nothing else touches the x87 stack, the argument bytes
// match the documented ones. Everywhere: the neutral result of the signature, nothing
// written through pointer arguments, completion callbacks never run.
TEST_F(InterfacesTest, NotImplementedEntriesKeepTheCallingConventionAndDoNothing) {
  ASSERT_TRUE(startHost({kDocument, "scenario", "abi"}));
  auto summary = host->waitForStdoutLine("PLUGIN abi summary");
  ASSERT_TRUE(summary) << host->error();
  const int expected = kNotImplementedEntries + kProbedImplementedEntries;
  EXPECT_EQ(*summary, "PLUGIN abi summary checked=" + std::to_string(expected) + " failed=0");
  auto late = host->waitForStdoutLine("PLUGIN abi callbacks run=");
  ASSERT_TRUE(late) << host->error();
  EXPECT_EQ(*late, "PLUGIN abi callbacks run=0");

  std::vector<std::string> lines = host->stdoutLines();
  std::vector<std::string> failures = linesContaining(lines, " FAIL");
  EXPECT_TRUE(failures.empty()) << joined(failures);
  std::vector<std::string> ok = linesContaining(lines, "PLUGIN abi ");
  EXPECT_EQ(
      std::count_if(ok.begin(), ok.end(), [](const std::string& l) { return l.ends_with(" ok"); }),
      expected);
  // No entry printed anything or sent anything.
  std::vector<std::string> other;
  std::copy_if(lines.begin(), lines.end(), std::back_inserter(other), [](const std::string& l) {
    return !startsWith(l, "PLUGIN abi ") && !startsWith(l, "PLUGIN result-code ") &&
           !startsWith(l, "DIDCREATE ") && !startsWith(l, "ARG ");
  });
  EXPECT_TRUE(other.empty()) << joined(other);
  EXPECT_TRUE(channel.expectSilence(std::chrono::milliseconds(200))) << channel.lastError();
}

// Members that return a result code without taking a completion callback (renaming a
// file, creating a directory, starting a capture, ...) must not answer PP_OK for an
// operation that never happened.
TEST_F(InterfacesTest, DoNothingEntriesDoNotReportSuccess) {
  ASSERT_TRUE(startHost({kDocument, "scenario", "abi"}));
  ASSERT_TRUE(host->waitForStdoutLine("PLUGIN abi summary")) << host->error();
  std::vector<std::string> codes = linesContaining(host->stdoutLines(), "PLUGIN result-code ");
  EXPECT_EQ(codes.size(), 12u) << joined(codes);
  for (const std::string& line : codes) {
    long value = std::stol(line.substr(line.rfind(' ') + 1));
    EXPECT_LT(value, 0) << line;
  }
}

}  // namespace
