// 3D contexts and GLES2 forwarding through the real host, byte for byte.
#include <cstring>

#include "tests/support/host_test.h"

namespace {

constexpr char kDocument[] = "http://example.org/page.html";

std::vector<uint8_t> encode(const std::vector<uint32_t>& words) {
  std::vector<uint8_t> out;
  for (uint32_t w : words) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(w >> (8 * i)));
  }
  return out;
}

std::vector<uint8_t> bytes(const std::string& text) {
  return std::vector<uint8_t>(text.begin(), text.end());
}

class GlesTest : public HostTest {
 protected:
  void SetUp() override {
    HostTest::SetUp();
    ASSERT_TRUE(startHost({kDocument, "scenario", "gles"}));
    ASSERT_TRUE(host->waitForStdoutLine("PLUGIN gles ready")) << host->error();
  }
  std::optional<HostMessage> next() { return channel.readMessage(); }
  // The next output line that starts as `expected` does, compared whole.
  ::testing::AssertionResult expectFull(const std::string& expected) {
    return expectLine(expected.substr(0, 13), expected);
  }
  // Step 1's contexts, its six messages read and passed over (the first test checks them).
  ::testing::AssertionResult makeContexts() {
    if (!sendStep(1)) return ::testing::AssertionFailure() << "step 1 not sent";
    for (int i = 0; i < 6; ++i) {
      if (!next()) return ::testing::AssertionFailure() << channel.lastError();
    }
    return ::testing::AssertionSuccess();
  }
  // Replies to a synchronous request: the 12-byte block, then the data.
  bool reply(uint32_t word, const std::vector<uint8_t>& data = {}) {
    return channel.sendReply({0, word, 0}, data);
  }
};

TEST_F(GlesTest, ContextsAreCreatedResizedSwappedMappedAndDestroyed) {
  ASSERT_TRUE(sendStep(1));
  const std::vector<std::vector<uint8_t>> expected = {
      encodeWords({MSG_CREATE_CONTEXT_3D, 1, 0, 0, 0, 0, 0}),
      encodeWords({MSG_CREATE_CONTEXT_3D, 2, 0, 0, 8, 0, 0}),  // red size 0x108 → 8
      encodeWords({MSG_CREATE_CONTEXT_3D, 3, 640, 480, 0, 0, 0}),
      encodeWords({MSG_DESTROY_CONTEXT_3D, 1, 0}),
      encodeWords({MSG_CREATE_CONTEXT_3D, 4, 0, 0, 0, 0, 0}),  // numbers are never reused
      encodeWords({MSG_RESIZE_BUFFERS, 2, 0, 0, 0}),
  };
  for (const auto& block : expected) {
    auto m = next();
    ASSERT_TRUE(m) << channel.lastError();
    EXPECT_EQ(m->fixed, block) << messageName(m->code);
  }
  EXPECT_TRUE(expectFull("PLUGIN step 1 resize=0 bad=-4"));

  ASSERT_TRUE(sendStep(2));
  auto swap = next();
  ASSERT_TRUE(swap) << channel.lastError();
  EXPECT_EQ(swap->fixed, encodeWords({MSG_SWAP_BUFFERS, 2, 1, 0}));
  EXPECT_TRUE(expectFull("PLUGIN step 2 swap=-1 again=-11"));
  ASSERT_TRUE(channel.sendWords({MSG_SWAP_BUFFERS_DONE, 0, 1, 0}));
  EXPECT_TRUE(expectFull("PLUGIN swapped c1 result=0"));

  // A context destroyed while its swap is pending: the completion runs nothing.
  ASSERT_TRUE(sendStep(3));
  swap = next();
  auto destroy = next();
  ASSERT_TRUE(swap && destroy) << channel.lastError();
  EXPECT_EQ(destroy->fixed, encodeWords({MSG_DESTROY_CONTEXT_3D, 3, 0}));
  ASSERT_TRUE(channel.sendWords({MSG_SWAP_BUFFERS_DONE, 0, swap->word(8), 0, 20}));
  ASSERT_TRUE(host->waitForStdoutLine("TODO: Handle MSG 20")) << host->error();
  EXPECT_EQ(host->stdoutText().find("swapped c2"), std::string::npos);

  // A 2 × 3 mapping: 48-byte block with count 24, then the 24 bytes; then binding.
  ASSERT_TRUE(sendStep(4));
  auto upload = next();
  ASSERT_TRUE(upload) << channel.lastError();
  EXPECT_EQ(upload->fixed, encodeWords({MSG_GL_TEX_SUB_IMAGE_2D, 2, 0x0DE1, 1, 2, 3, 2, 3, 0x1908,
                                        0x1401, 24, 0}));
  std::vector<uint8_t> pixels(24);
  for (int i = 0; i < 24; ++i) pixels[i] = static_cast<uint8_t>(i);
  EXPECT_EQ(upload->trailing, pixels);
  auto bind = next();
  ASSERT_TRUE(bind) << channel.lastError();
  EXPECT_EQ(bind->fixed,
            encodeWords({MSG_BIND_GRAPHICS_3D, static_cast<uint32_t>(host->pid()), 2, 0}));
  EXPECT_TRUE(expectFull("PLUGIN step 4 negative=1 huge=1 bound=1"));
}

TEST_F(GlesTest, EveryForwardedEntryWritesItsExactBlock) {
  ASSERT_TRUE(makeContexts());
  ASSERT_TRUE(sendStep(5));
  struct Expected {
    std::vector<uint32_t> words;
    std::string trailing = "";
    // What the test answers, for entries that wait for a reply.
    bool replies = false;
    uint32_t word = 0;
    std::vector<uint8_t> data = {};
  };
  auto f = [](float v) { return floatBits(v); };
  std::vector<uint8_t> ids = encodeWords({41, 42, 99});  // one more than asked for
  const std::vector<Expected> table = {
      {{49, 2, 0x84C1, 0}},
      {{25, 2, 9, 7, 0}},  // shader before program
      {{26, 2, 3, 4, 4, 0}, "attr"},
      {{37, 2, 0x8892, 11, 0}},
      {{34, 2, 0x0DE1, 12, 0}},
      {{41, 2, 0x0302, 0x0303, 0}},
      {{38, 2, 0x8892, 0x88E4, 6, 0}, "abcdef"},  // usage before size
      {{45, 2, f(0.25f), f(0.5f), f(0.75f), f(1.0f)}},
      {{44, 2, 1, 0, 1, 0, 0}},
      {{22, 2, 13, 0}},
      {{24, 2, 0, 0}, "", true, 31},
      {{20, 2, 0x8B31, 0}, "", true, 32},
      {{59, 2, 14, 0}},
      {{43, 2, 0x0B71, 0}},
      {{50, 2, 4, 1, 3, 0}},
      {{46, 2, 0x0BE2, 0}},
      {{40, 2, 2, 0}},
      {{57, 2, 0, 0}},
      {{36, 2, 2, 0}, "", true, 12, ids},
      {{33, 2, 1, 0}, "", true, 4, encodeWords({43})},
      {{32, 2, 0x0BA2, 0}, "", true, 16, encodeWords({1, 2, 3, 4})},
      {{28, 2, 15, 0x8B82, 0}, "", true, 1},
      {{23, 2, 16, 0x8B81, 0}, "", true, 1},
      {{18, 2, 0x1F00, 0}, "", true, 4, bytes("ACME")},
      {{30, 2, 17, 2, 0}, "uv", true, 7},
      {{27, 2, 18, 0}},
      {{58, 2, 0x0CF5, 4, 0}},
      {{21, 2, 19, 5, 0}, "abcde"},
      {{35, 2, 0x0DE1, 0, 0x1908, 2, 1, 0x1908, 0x1401, 8, 0}, std::string("\1\2\3\4\5\6\7\10")},
      {{56, 2, 0x0DE1, 0x2801, 0x2601, 0}},
      {{31, 2, 20, static_cast<uint32_t>(-5), 0}},
      {{48, 2, 21, f(1.5f), f(-2.0f)}},
      {{29, 2, 22, 0}},
      {{39, 2, 1, 2, 0x1406, 1, 16, 8, 0}},
      {{47, 2, static_cast<uint32_t>(-1), 2, 300, 200, 0}},
  };
  ASSERT_EQ(table.size(), 35u);
  for (const Expected& e : table) {
    auto m = next();
    ASSERT_TRUE(m) << channel.lastError();
    EXPECT_EQ(m->fixed, encode(e.words)) << messageName(m->code);
    EXPECT_EQ(m->trailingText(), e.trailing) << messageName(m->code);
    if (e.replies) {
      ASSERT_TRUE(reply(e.word, e.data)) << channel.lastError();
    }
  }
  // Replies are bounded by the caller's arrays: the third buffer name was dropped and
  // the channel stayed in step for everything after it.
  EXPECT_TRUE(
      expectFull("PLUGIN step 5 program=31 shader=32 buffers=41,42 texture=43 "
                 "viewport=1,2,3,4 linked=1 compiled=1 vendor=ACME location=7"));
}

TEST_F(GlesTest, SourcesPixelsStringsAndNamesFollowTheirRules) {
  ASSERT_TRUE(makeContexts());
  ASSERT_TRUE(sendStep(6));
  // Lengths 2 and -1 (NUL-terminated): total 5; the negative count sends nothing.
  auto source = next();
  ASSERT_TRUE(source) << channel.lastError();
  EXPECT_EQ(source->fixed, encodeWords({MSG_GL_SHADER_SOURCE, 2, 1, 5, 0}));
  EXPECT_EQ(source->trailingText(), "abcde");
  auto tex = next();
  ASSERT_TRUE(tex) << channel.lastError();
  EXPECT_EQ(tex->fixed,
            encodeWords({MSG_GL_TEX_IMAGE_2D, 2, 0x0DE1, 0, 0x1908, 4, 2, 0x1908, 0x1401, 32, 0}));
  EXPECT_EQ(tex->trailing.size(), 32u);
  tex = next();
  ASSERT_TRUE(tex) << channel.lastError();
  EXPECT_EQ(tex->fixed,
            encodeWords({MSG_GL_TEX_IMAGE_2D, 2, 0x0DE1, 0, 0x1908, 4, 2, 0x1908, 0x1401, 0, 0}));
  // GetString: one request per name and context, the same pointer the second time.
  auto text = next();
  ASSERT_TRUE(text) << channel.lastError();
  EXPECT_EQ(text->fixed, encodeWords({MSG_GL_GET_STRING, 2, 0x1F01, 0}));
  ASSERT_TRUE(reply(5, bytes("GL ES")));
  text = next();
  ASSERT_TRUE(text) << channel.lastError();
  EXPECT_EQ(text->fixed, encodeWords({MSG_GL_GET_STRING, 4, 0x1F01, 0}));
  ASSERT_TRUE(reply(5, bytes("other")));
  auto gen = next();
  ASSERT_TRUE(gen) << channel.lastError();
  EXPECT_EQ(gen->fixed, encodeWords({MSG_GL_GEN_TEXTURES, 2, 3, 0}));
  ASSERT_TRUE(reply(12, encodeWords({5, 6, 7})));
  EXPECT_TRUE(expectFull("PLUGIN step 6 same=1 text=GL ES other=other textures=5,6,7,77"));
  // Clear, Scissor, DrawElements and an entry for no context sent nothing.
  EXPECT_TRUE(channel.expectSilence(std::chrono::milliseconds(200))) << channel.lastError();
}

// The format list is as long as the count GL gave before, not one value with the rest
// dropped; what GL sends beyond it is dropped.
TEST_F(GlesTest, AFormatListHoldsAsManyValuesAsItsCountSaid) {
  ASSERT_TRUE(makeContexts());
  ASSERT_TRUE(sendStep(8));
  auto count = next();
  ASSERT_TRUE(count) << channel.lastError();
  EXPECT_EQ(count->fixed, encodeWords({MSG_GL_GET_INTEGERV, 2, 0x86A2, 0}));
  ASSERT_TRUE(reply(4, encodeWords({3})));
  auto list = next();
  ASSERT_TRUE(list) << channel.lastError();
  EXPECT_EQ(list->fixed, encodeWords({MSG_GL_GET_INTEGERV, 2, 0x86A3, 0}));
  ASSERT_TRUE(reply(16, encodeWords({0x83F0, 0x83F1, 0x83F2, 0x83F3})));
  EXPECT_TRUE(expectFull("PLUGIN step 8 count=3 formats=33776,33777,33778,77"));
}

TEST_F(GlesTest, EveryEntryThroughTheTableInSlotOrder) {
  ASSERT_TRUE(makeContexts());
  ASSERT_TRUE(sendStep(7));
  // All 142 entries, with zero arguments: the forwarded ones, each its own code, in
  // slot order; nothing from the rest.
  const std::vector<uint32_t> expected = {49, 25, 26, 37, 34, 41, 38, 45, 44, 22, 24, 20,
                                          59, 43, 50, 46, 40, 57, 36, 33, 32, 28, 23, 18,
                                          30, 27, 58, 21, 35, 56, 31, 48, 29, 39, 47};
  std::vector<uint32_t> codes;
  while (codes.size() < expected.size()) {
    auto m = next();
    ASSERT_TRUE(m) << channel.lastError();
    codes.push_back(m->code);
    if (zema::protocol::messageInfo(m->code).reply != zema::protocol::Reply::None) {
      ASSERT_TRUE(reply(0)) << channel.lastError();
    }
  }
  EXPECT_EQ(codes, expected);
  EXPECT_TRUE(expectFull("PLUGIN step 7 done"));
  EXPECT_TRUE(channel.expectSilence(std::chrono::milliseconds(200))) << channel.lastError();
}

}  // namespace
