// Character sets, settings, console, random bytes, video capture and module-local files
// through the real host.
#include <sys/stat.h>

#include "tests/support/host_test.h"

namespace {

constexpr char kDocument[] = "http://example.org/page.html";

using ServicesTest = HostTest;

TEST_F(ServicesTest, LocalAnswersOfTheMiscellaneousServices) {
  ASSERT_TRUE(startHost({kDocument, "scenario", "services"}));
  // The same handle every time, kept alive by the host's own reference; the UTF-16
  // side is the C library's "utf-16" (little-endian here, with a byte-order mark).
  EXPECT_TRUE(
      expectLine("PLUGIN charset default", "PLUGIN charset default same=1 text=UTF-8 len=5"));
  EXPECT_TRUE(expectLine("PLUGIN charset",
                         "PLUGIN charset ISO-8859-1:41E9/2 UTF-8:F09F9880/4 UTF-8:/0 "
                         "back=FFFE4100E900/6 unknown=null/0"));
  EXPECT_TRUE(expectLine("TODO: ZEMA_GetSetting", "TODO: ZEMA_GetSetting 7"));
  EXPECT_TRUE(expectLine("PLUGIN settings", "PLUGIN settings 2/1 2/1 2/0 1/0 3/1 3/3 0/0"));
  EXPECT_TRUE(expectLine("PLUGIN flash", "PLUGIN flash proxy=0 args=1 crash=0 offset=0"));
  // Random bytes come from the kernel: two calls differ and do not count up.
  EXPECT_TRUE(expectLine("PLUGIN random", "PLUGIN random differ=1 counting=0 zero-untouched=1"));
  EXPECT_TRUE(expectLine("PLUGIN console before", "PLUGIN console before"));
  auto line = host->waitForStdoutLine("");
  ASSERT_TRUE(line) << host->error();
  EXPECT_EQ(*line, "abc");
  line = host->waitForStdoutLine("");
  ASSERT_TRUE(line) << host->error();
  EXPECT_EQ(*line, "PLUGIN console after") << "an integer var prints nothing";
  EXPECT_TRUE(
      expectLine("PLUGIN video", "PLUGIN video create=0 enumerate=0 callback-before-return=0"));

  ASSERT_TRUE(channel.sendWords({MSG_TIME_ZONE_OFFSET, static_cast<uint32_t>(-3600), 0}));
  ASSERT_TRUE(sendStep(1));
  EXPECT_TRUE(expectLine("PLUGIN offset", "PLUGIN offset -3600"));
}

TEST_F(ServicesTest, ModuleLocalFilesOpenReadOnlyAndOnlyUnderTmp) {
  HostOptions opts = options();
  opts.tmpFiles = {{"a/b.txt", "hello"}};
  ASSERT_TRUE(startHost({kDocument, "scenario", "files"}, opts));
  EXPECT_TRUE(expectLine("PLUGIN open a/b.txt",
                         "PLUGIN open a/b.txt result=0 fd-set=1 content=hello writable=0"));
  EXPECT_TRUE(expectLine("PLUGIN open /a/b.txt",
                         "PLUGIN open /a/b.txt result=0 fd-set=1 content=hello writable=0"));
  // Missing files and every path with a ".." component: -20, the handle untouched.
  for (const char* path : {"missing.txt", "a/../a/b.txt", "../tmp/a/b.txt", "..", "a/.."}) {
    EXPECT_TRUE(expectLine(
        std::string("PLUGIN open ") + path + " ",
        std::string("PLUGIN open ") + path + " result=-20 fd-set=0 content= writable=0"));
  }
  EXPECT_TRUE(expectLine("PLUGIN files",
                         "PLUGIN files create=-20 fd=-77 delete=-20 query=-20 "
                         "info-untouched=1 dir=-20 contents-untouched=1 temporary=-9"));
  struct stat st;
  EXPECT_NE(stat((host->tmpDir() + "/new.txt").c_str(), &st), 0) << "nothing was created";
  EXPECT_EQ(stat((host->tmpDir() + "/a/b.txt").c_str(), &st), 0) << "nothing was deleted";
}

}  // namespace
