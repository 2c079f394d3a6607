// URL loaders in-process: operations started while another is pending, body data
// beyond the read's count, and document URLs that lack parts.
#include "net/url_loader.h"

#include <string>
#include <vector>

#include "host_fixture.h"
#include "net/url_request_info.h"
#include "net/url_response_info.h"
#include "protocol/protocol.h"
#include "resources/resource_table.h"
#include "services/url_util.h"

namespace {

std::vector<std::pair<const char*, int32_t>> completions;
void record(void* tag, int32_t result) {
  completions.emplace_back(static_cast<const char*>(tag), result);
}
PP_CompletionCallback tagged(const char* tag) {
  return PP_CompletionCallback{record, const_cast<char*>(tag), 0};
}

class UrlLoader : public HostFixture {
 protected:
  void SetUp() override {
    HostFixture::SetUp();
    completions.clear();
    request_ = ppbUrlRequestInfo.Create(kInstanceId);
    loader_ = ppbUrlLoadr.Create(kInstanceId);
  }
  void TearDown() override {
    ZEMA_ReleaseResource(loader_);
    ZEMA_ReleaseResource(request_);
    HostFixture::TearDown();
  }
  // The callback number of the next MSG_URL_OPEN or MSG_URL_READ the host wrote.
  uint32_t sentNumber() {
    uint32_t words[9];
    EXPECT_EQ(read(command_[1], words, 4), 4);
    size_t rest = words[0] == MSG_URL_OPEN ? 32 : 20;
    EXPECT_EQ(read(command_[1], words + 1, rest), static_cast<ssize_t>(rest));
    return words[0] == MSG_URL_OPEN ? words[1] : words[2];
  }
  void deliver(std::initializer_list<uint32_t> words, const std::string& trailing = "") {
    sendWords(words);
    ASSERT_EQ(write(command_[1], trailing.data(), trailing.size()),
              static_cast<ssize_t>(trailing.size()));
    pluginInstance->messageLoopStep();
  }

  PP_Resource request_ = 0;
  PP_Resource loader_ = 0;
};

TEST_F(UrlLoader, AnOperationStartedWhilePendingDetachesTheEarlierOne) {
  ASSERT_EQ(ppbUrlLoadr.Open(loader_, request_, tagged("open")), PP_OK_COMPLETIONPENDING);
  uint32_t open = sentNumber();
  // A read before the response takes over: the Open's answer no longer reaches the
  // loader, and its callback hears that it was aborted.
  char first[4] = {'.', '.', '.', '.'};
  ppbUrlLoadr.ReadResponseBody(loader_, first, 4, tagged("read1"));
  uint32_t read1 = sentNumber();
  char second[4] = {'.', '.', '.', '.'};
  ppbUrlLoadr.ReadResponseBody(loader_, second, 4, tagged("read2"));
  uint32_t read2 = sentNumber();
  EXPECT_NE(read1, read2);

  deliver({MSG_URL_RESPONSE, 5, open, 200, 1, 0, 0, 0}, "u");
  deliver({MSG_URL_BODY_DATA, read1, 3, 0}, "abc");
  deliver({MSG_URL_BODY_DATA, read2, 2, 0}, "xy");
  // Repeats for numbers already completed change nothing.
  deliver({MSG_URL_BODY_DATA, read2, 2, 0}, "zz");
  deliver({MSG_URL_FAILED, 0, open, 0});
  EXPECT_EQ(completions,
            (std::vector<std::pair<const char*, int32_t>>{
                {"open", PP_ERROR_ABORTED}, {"read1", PP_ERROR_ABORTED}, {"read2", 2}}));
  EXPECT_EQ(std::string(first, 4), "....") << "a detached read's buffer is never written";
  EXPECT_EQ(std::string(second, 4), "xy..");
  PP_Resource info = ppbUrlLoadr.GetResponseInfo(loader_);
  EXPECT_EQ(ppbUrlResponseInfo.GetProperty(info, PP_URLRESPONSEPROPERTY_STATUSCODE).value.as_int, 0)
      << "the aborted response was dropped";
  ZEMA_ReleaseResource(info);
}

TEST_F(UrlLoader, BodyDataBeyondTheReadCountIsDroppedAndTheChannelStaysInStep) {
  ppbUrlLoadr.Open(loader_, request_, tagged("open"));
  deliver({MSG_URL_RESPONSE, 5, sentNumber(), 200, 0, 0, 0, 0});
  char buffer[6] = {'.', '.', '.', '.', '.', '.'};
  ppbUrlLoadr.ReadResponseBody(loader_, buffer, 3, tagged("read"));
  uint32_t number = sentNumber();
  deliver({MSG_URL_BODY_DATA, number, 5, 0}, "12345");
  // A read without a buffer, or with a count below 1, is refused and registers nothing:
  // the same number arriving again finds nothing to complete.
  EXPECT_EQ(ppbUrlLoadr.ReadResponseBody(loader_, nullptr, 100, tagged("null")),
            PP_ERROR_BADARGUMENT);
  EXPECT_EQ(ppbUrlLoadr.ReadResponseBody(loader_, buffer, -1, tagged("negative")),
            PP_ERROR_BADARGUMENT);
  EXPECT_EQ(ppbUrlLoadr.ReadResponseBody(loader_, buffer, 0, tagged("zero")), PP_ERROR_BADARGUMENT);
  deliver({MSG_URL_BODY_DATA, number, 4, 0}, "efgh");
  deliver({MSG_SCREEN_SIZE, 7, 9, 0});
  EXPECT_EQ(std::string(buffer, 6), "123...");
  EXPECT_EQ(completions, (std::vector<std::pair<const char*, int32_t>>{{"open", 0}, {"read", 3}}));
  EXPECT_EQ(pluginInstance->screenWidth, 7);
}

TEST(DocumentUrl, ComponentsAlwaysLieInsideTheUrlOrAreAbsent) {
  for (std::string url :
       {"", "nocolon", ":", "ab:", "ab:/", "ab://", "ab://hh", "ab://hh:", "ab://hh:12", "ab://:/",
        "ab:x", "a:b:c/d", "ab://hh/", "x://y:z/p?q#r"}) {
    PP_URLComponents_Dev c;
    splitDocumentUrl(url, &c);
    const PP_URLComponent_Dev* parts = &c.scheme;
    for (int i = 0; i < 8; ++i) {
      bool absent = parts[i].begin == 0 && parts[i].len == -1;
      bool inside = parts[i].begin >= 0 && parts[i].len >= 0 &&
                    parts[i].begin + parts[i].len <= static_cast<int32_t>(url.size());
      EXPECT_TRUE(absent || inside)
          << url << " component " << i << ": " << parts[i].begin << "," << parts[i].len;
    }
  }
  PP_URLComponents_Dev c;
  splitDocumentUrl("ab://hh:12", &c);
  EXPECT_EQ(c.host.begin, 5);
  EXPECT_EQ(c.host.len, 2);
  EXPECT_EQ(c.port.begin, 8);
  EXPECT_EQ(c.port.len, 2);
  EXPECT_EQ(c.path.len, -1);
}

}  // namespace
