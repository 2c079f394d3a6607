// Character-set conversion whose output outgrows the first block, and the path rule of
// module-local files.
#include <cstdlib>
#include <cstring>
#include <string>

#include "host_fixture.h"
#include "services/char_set.h"
#include "services/flash_file_module_local.h"

TEST(CharSet, OutputLongerThanFourBytesPerUnitIsNotCutOff) {
  // One kanji in ISO-2022-JP needs a shift in, two bytes and a shift back: 8 bytes for
  // one UTF-16 unit, twice the first block.
  const uint16_t kanji[] = {0x65e5};
  uint32_t length = 0;
  char* out = convertCharset(kanji, 2, "UTF-16LE", "ISO-2022-JP", 4, &length);
  ASSERT_NE(out, nullptr);
  EXPECT_EQ(std::string(out, length), "\x1b$BF|\x1b(B");
  free(out);

  // Input the converter rejects ends the conversion there; the length counts what was
  // written before it.
  const uint16_t euro[] = {0x41, 0x20ac, 0x42};
  out = convertCharset(euro, 6, "UTF-16LE", "ISO-8859-1", 12, &length);
  ASSERT_NE(out, nullptr);
  EXPECT_EQ(std::string(out, length), "A");
  free(out);

  length = 9;
  EXPECT_EQ(convertCharset(euro, 6, "UTF-16LE", "NOT-A-CHARSET", 12, &length), nullptr);
  EXPECT_EQ(length, 0u);
}

TEST(ModuleLocalFiles, OnlyDotDotComponentsLeaveTheFolder) {
  for (const char* path : {"..", "../x", "a/..", "a/../b", "/..", "a//../b"})
    EXPECT_TRUE(pathLeavesItsFolder(path)) << path;
  for (const char* path : {"", "a", "/a/b", "..a", "a..", "a/..b/c", ".", "./a", "a/.../b"})
    EXPECT_FALSE(pathLeavesItsFolder(path)) << path;
}
