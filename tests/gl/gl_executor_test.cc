// The GL executor on its own, fed messages as the host would send them, with a fake
// host's ends of both connections to read its replies: GL's own answers, separate
// contexts, resizing, uploads by format and the refusals of what is not sound.
#include "controller/gl/gl_executor.h"

#include <gtest/gtest.h>
#include <sched.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include "controller/gl/gl_pixels.h"
#include "controller/host_process.h"

namespace {

using namespace zema::protocol;
using zema::controller::HostChannel;
using zema::controller::HostMessage;
using zema::controller::gl::GlExecutor;
using zema::controller::gl::Picture;

constexpr uint32_t kVertexShader = 0x8B31, kFragmentShader = 0x8B30, kCompileStatus = 0x8B81,
                   kLinkStatus = 0x8B82, kArrayBuffer = 0x8892, kTexture2D = 0x0DE1, kRgba = 0x1908,
                   kRgb = 0x1907, kUnsignedByte = 0x1401, kFloat = 0x1406, kTriangles = 0x0004,
                   kNearest = 0x2600, kMinFilter = 0x2801, kMagFilter = 0x2800;

int connectToChannel() {
  int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  const char path[] = {'\0', 'z', 'e', 'm', 'a', '\0'};
  memcpy(addr.sun_path, path, sizeof(path));
  socklen_t len = offsetof(sockaddr_un, sun_path) + sizeof(path);
  if (connect(fd, reinterpret_cast<sockaddr*>(&addr), len) != 0) {
    close(fd);
    return -1;
  }
  return fd;
}

template <class T>
HostMessage message(const T& block, const std::string& trailing = {}) {
  HostMessage m;
  m.code = block.code;
  m.fixed = zema::controller::blockBytes(block);
  m.trailing.assign(trailing.begin(), trailing.end());
  return m;
}

std::string bytes(const void* data, size_t size) {
  return std::string(static_cast<const char*>(data), size);
}

// An ordinary user runs the tests as root of a user namespace of their own, made before
// any thread starts.
std::string userNamespaceError;
const bool inUserNamespace = zema::controller::becomeRootInUserNamespace(&userNamespaceError);

class GlExecutorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(inUserNamespace) << userNamespaceError;
    // A network namespace of this test's own for the channel's fixed address.
    ASSERT_EQ(unshare(CLONE_NEWNET), 0) << strerror(errno);
    ASSERT_TRUE(channel.listen()) << channel.lastError();
    command = connectToChannel();
    reply = connectToChannel();
    ASSERT_TRUE(command >= 0 && reply >= 0);
    ASSERT_TRUE(channel.acceptBoth()) << channel.lastError();
    std::string error;
    GlExecutor::Options options;
    options.checkEachCommand = true;
    options.log = [this](const std::string& line) { log += line + "\n"; };
    gl = GlExecutor::create(options, &error);
    ASSERT_TRUE(gl) << error;
  }
  void TearDown() override {
    gl.reset();
    close(command);
    close(reply);
  }

  template <class T>
  bool run(const T& block, const std::string& trailing = {}) {
    return gl->execute(message(block, trailing), channel);
  }
  // The reply block's value, then `data` bytes of what follows.
  uint32_t readReply(std::string* data = nullptr) {
    GlReplyBlock block;
    EXPECT_EQ(read(reply, &block, sizeof(block)), static_cast<ssize_t>(sizeof(block)));
    if (data != nullptr) {
      data->resize(block.value);
      size_t got = 0;
      while (got < block.value) {
        ssize_t n = read(reply, data->data() + got, block.value - got);
        if (n <= 0) break;
        got += static_cast<size_t>(n);
      }
    }
    return block.value;
  }
  uint32_t gen(uint32_t context, int32_t n = 1) {
    EXPECT_TRUE(run(GlGenTextures{.context = context, .n = n}));
    std::string names;
    readReply(&names);
    uint32_t first = 0;
    if (names.size() >= 4) memcpy(&first, names.data(), 4);
    return first;
  }
  void makeContext(uint32_t context, int32_t width, int32_t height) {
    ASSERT_TRUE(run(CreateContext3D{.context = context, .width = width, .height = height}));
  }
  uint32_t shader(uint32_t context, uint32_t type, const std::string& source) {
    EXPECT_TRUE(run(GlCreateShader{.context = context, .type = type}));
    uint32_t name = readReply();
    run(GlShaderSource{.context = context,
                       .shader = name,
                       .totalLength = static_cast<uint32_t>(source.size())},
        source);
    run(GlCompileShader{.context = context, .shader = name});
    return name;
  }
  // A program drawing its texture unit 0 over a full-screen quad from buffer data:
  // the vertices (x, y) of two triangles.
  uint32_t texturedQuad(uint32_t context) {
    run(GlCreateProgram{.context = context});
    uint32_t program = readReply();
    uint32_t v = shader(context, kVertexShader,
                        "attribute vec2 p; varying vec2 t;\n"
                        "void main() { gl_Position = vec4(p, 0.0, 1.0); t = p * 0.5 + 0.5; }\n");
    uint32_t f = shader(context, kFragmentShader,
                        "precision mediump float; uniform sampler2D s; varying vec2 t;\n"
                        "void main() { gl_FragColor = texture2D(s, t); }\n");
    run(GlAttachShader{.context = context, .shader = v, .program = program});
    run(GlAttachShader{.context = context, .shader = f, .program = program});
    run(GlBindAttribLocation{.context = context, .program = program, .index = 0, .nameLength = 1},
        "p");
    run(GlLinkProgram{.context = context, .program = program});
    run(GlUseProgram{.context = context, .program = program});
    run(GlGenBuffers{.context = context, .n = 1});
    std::string names;
    readReply(&names);
    uint32_t buffer = 0;
    memcpy(&buffer, names.data(), 4);
    const float quad[] = {-1, -1, 1, -1, 1, 1, -1, -1, 1, 1, -1, 1};
    run(GlBindBuffer{.context = context, .target = kArrayBuffer, .buffer = buffer});
    run(GlBufferData{.context = context, .target = kArrayBuffer, .usage = 0x88E4, .size = 48},
        bytes(quad, sizeof(quad)));
    run(GlVertexAttribPointer{.context = context, .index = 0, .size = 2, .type = kFloat});
    run(GlEnableVertexAttribArray{.context = context, .index = 0});
    return buffer;
  }
  // A 2 x 1 texture bound on unit 0, nearest filtering, uploaded as `format`.
  void texture(uint32_t context, uint32_t format, const std::string& pixels) {
    uint32_t name = gen(context);
    run(GlBindTexture{.context = context, .target = kTexture2D, .texture = name});
    run(GlTexParameteri{
        .context = context, .target = kTexture2D, .pname = kMinFilter, .param = kNearest});
    run(GlTexParameteri{
        .context = context, .target = kTexture2D, .pname = kMagFilter, .param = kNearest});
    EXPECT_TRUE(run(GlTexImage2D{.context = context,
                                 .target = kTexture2D,
                                 .internalFormat = static_cast<int32_t>(format),
                                 .width = 2,
                                 .height = 1,
                                 .format = format,
                                 .type = kUnsignedByte,
                                 .byteCount = 8},
                    pixels));
  }
  const Picture* swap(uint32_t context) {
    run(SwapBuffers{.context = context, .callbackNumber = 7});
    SwapBuffersDone done;
    EXPECT_EQ(read(command, &done, sizeof(done)), static_cast<ssize_t>(sizeof(done)));
    EXPECT_EQ(done.code, MSG_SWAP_BUFFERS_DONE);
    EXPECT_EQ(done.callbackNumber, 7u);
    return gl->picture(context);
  }
  static std::string pixel(const Picture& p, int32_t x, int32_t y) {
    return bytes(&p.rgba[(static_cast<size_t>(y) * p.width + x) * 4], 4);
  }

  HostChannel channel;
  int command = -1, reply = -1;
  std::unique_ptr<GlExecutor> gl;
  std::string log;
};

TEST_F(GlExecutorTest, QueriesAreAnsweredByGl) {
  makeContext(1, 8, 8);
  run(GlGetString{.context = 1, .name = 0x1F02});
  std::string version;
  readReply(&version);
  EXPECT_EQ(version.rfind("OpenGL ES", 0), 0u) << version;

  uint32_t good = shader(1, kVertexShader, "void main() { gl_Position = vec4(0.0); }");
  run(GlGetShaderiv{.context = 1, .shader = good, .pname = kCompileStatus});
  EXPECT_EQ(readReply(), 1u);
  uint32_t broken = shader(1, kFragmentShader, "not a shader at all");
  EXPECT_NE(broken, good);
  run(GlGetShaderiv{.context = 1, .shader = broken, .pname = kCompileStatus});
  EXPECT_EQ(readReply(), 0u);

  run(GlCreateProgram{.context = 1});
  uint32_t program = readReply();
  uint32_t v = shader(1, kVertexShader,
                      "uniform vec2 u_where; void main() { gl_Position = vec4(u_where, 0, 1); }");
  uint32_t f = shader(1, kFragmentShader, "void main() { gl_FragColor = vec4(1); }");
  run(GlAttachShader{.context = 1, .shader = v, .program = program});
  run(GlAttachShader{.context = 1, .shader = f, .program = program});
  run(GlLinkProgram{.context = 1, .program = program});
  run(GlGetProgramiv{.context = 1, .program = program, .pname = kLinkStatus});
  EXPECT_EQ(readReply(), 1u);
  run(GlGetUniformLocation{.context = 1, .program = program, .nameLength = 7}, "u_where");
  EXPECT_GE(static_cast<int32_t>(readReply()), 0) << "a real uniform";
  run(GlGetUniformLocation{.context = 1, .program = program, .nameLength = 7}, "nowhere");
  EXPECT_EQ(static_cast<int32_t>(readReply()), -1);

  run(GlGetIntegerv{.context = 1, .pname = 0x0BA2});  // GL_VIEWPORT: four values
  std::string viewport;
  readReply(&viewport);
  ASSERT_EQ(viewport.size(), 16u);
  int32_t box[4];
  memcpy(box, viewport.data(), 16);
  EXPECT_EQ(box[2], 8);
  EXPECT_EQ(box[3], 8);

  run(GlGenTextures{.context = 1, .n = 3});
  std::string names;
  readReply(&names);
  ASSERT_EQ(names.size(), 12u);
  uint32_t texture[3];
  memcpy(texture, names.data(), 12);
  EXPECT_TRUE(texture[0] != 0 && texture[1] != texture[0] && texture[2] != texture[1]);
  EXPECT_TRUE(run(GlBindTexture{.context = 1, .target = kTexture2D, .texture = texture[2]}));
  EXPECT_EQ(gl->glErrors(), 0u) << log;
  EXPECT_EQ(gl->refused(), 0u) << log;
}

TEST_F(GlExecutorTest, ContextsKeepTheirOwnStateAndSizes) {
  makeContext(1, 16, 8);
  makeContext(2, 4, 4);
  run(GlClearColor{.context = 1, .red = 1, .alpha = 1});
  run(GlClearColor{.context = 2, .green = 1, .alpha = 1});
  EXPECT_EQ(gen(1), gen(2)) << "each context hands out its own names";
  const Picture* one = swap(1);
  const Picture* two = swap(2);
  ASSERT_TRUE(one && two);
  EXPECT_EQ(one->width, 16);
  EXPECT_EQ(one->height, 8);
  EXPECT_EQ(pixel(*one, 15, 7), std::string("\xff\0\0\xff", 4));
  EXPECT_EQ(two->width, 4);
  EXPECT_EQ(pixel(*two, 0, 0), std::string("\0\xff\0\xff", 4));

  ASSERT_TRUE(run(ResizeBuffers{.context = 1, .width = 5, .height = 3}));
  one = swap(1);
  EXPECT_EQ(one->width, 5);
  EXPECT_EQ(one->height, 3);
  EXPECT_EQ(one->rgba.size(), 5u * 3 * 4);
  EXPECT_EQ(pixel(*one, 4, 2), std::string("\xff\0\0\xff", 4));

  ASSERT_TRUE(run(DestroyContext3D{.context = 2}));
  EXPECT_EQ(gl->picture(2), nullptr);
  EXPECT_FALSE(run(GlFlush{.context = 2}));
  EXPECT_EQ(gl->glErrors(), 0u) << log;
}

TEST_F(GlExecutorTest, UploadsTakeThePixelsTheirFormatNeedsAndFramesShowThem) {
  makeContext(1, 2, 2);
  texturedQuad(1);
  // RGB: GL reads 6 of the 8 bytes the wire counts for two pixels.
  texture(1, kRgb, std::string("\x10\x20\x30\x40\x50\x60\xee\xee", 8));
  run(GlDrawArrays{.context = 1, .mode = kTriangles, .count = 6});
  const Picture* p = swap(1);
  ASSERT_TRUE(p);
  EXPECT_EQ(pixel(*p, 0, 1), std::string("\x10\x20\x30\xff", 4));
  EXPECT_EQ(pixel(*p, 1, 1), std::string("\x40\x50\x60\xff", 4));

  // A mapping's upload: the next frame shows it, top row as well as bottom (the
  // texture is one row high).
  EXPECT_TRUE(run(GlTexSubImage2D{.context = 1,
                                  .target = kTexture2D,
                                  .xOffset = 1,
                                  .width = 1,
                                  .height = 1,
                                  .format = kRgb,
                                  .type = kUnsignedByte,
                                  .byteCount = 4},
                  "\x01\x02\x03\x77"));
  run(GlDrawArrays{.context = 1, .mode = kTriangles, .count = 6});
  p = swap(1);
  EXPECT_EQ(pixel(*p, 1, 0), std::string("\x01\x02\x03\xff", 4));
  EXPECT_EQ(pixel(*p, 0, 0), std::string("\x10\x20\x30\xff", 4));
  EXPECT_EQ(gl->glErrors(), 0u) << log;
  EXPECT_EQ(gl->refused(), 0u) << log;
}

TEST_F(GlExecutorTest, WhatIsNotSoundIsRefusedAndTheRestGoesOn) {
  makeContext(1, 4, 4);
  uint32_t quad = texturedQuad(1);
  std::string nine(9 * 4, 'x');
  // More bytes than width x height x 4, a negative size, a format of more than four
  // bytes a pixel with data, row lengths GLES2 does not have, a pixel buffer target.
  EXPECT_FALSE(run(GlTexImage2D{.context = 1,
                                .target = kTexture2D,
                                .internalFormat = 0x1908,
                                .width = 2,
                                .height = 4,
                                .format = kRgba,
                                .type = kUnsignedByte,
                                .byteCount = 36},
                   nine));
  EXPECT_FALSE(run(GlTexImage2D{.context = 1,
                                .target = kTexture2D,
                                .width = -3,
                                .height = 4,
                                .format = kRgba,
                                .type = kUnsignedByte}));
  EXPECT_FALSE(run(GlTexSubImage2D{.context = 1,
                                   .target = kTexture2D,
                                   .width = 1,
                                   .height = 1,
                                   .format = kRgba,
                                   .type = 0x1404,
                                   .byteCount = 4},
                   "abcd"));
  EXPECT_FALSE(run(GlPixelStorei{.context = 1, .pname = 0x0CF2, .param = 4096}));
  EXPECT_FALSE(run(GlBindBuffer{.context = 1, .target = 0x88EC, .buffer = 1}));
  // Vertices beyond the buffer's six; an array read from this process's memory.
  EXPECT_FALSE(run(GlDrawArrays{.context = 1, .mode = kTriangles, .first = 3, .count = 6}));
  EXPECT_FALSE(run(GlDrawArrays{.context = 1, .mode = kTriangles, .first = -1, .count = 3}));
  // A format GLES2 does not have, even without pixels; the quad's buffer made smaller
  // through the other target.
  EXPECT_FALSE(run(GlTexImage2D{.context = 1,
                                .target = kTexture2D,
                                .width = 8192,
                                .height = 8192,
                                .format = 0x8D99,
                                .type = 0x1405}));
  run(GlBindBuffer{.context = 1, .target = 0x8893, .buffer = quad});
  run(GlBufferData{.context = 1, .target = 0x8893, .usage = 0x88E4, .size = 8},
      std::string(8, '\0'));
  EXPECT_FALSE(run(GlDrawArrays{.context = 1, .mode = kTriangles, .count = 6}));
  EXPECT_TRUE(run(GlDrawArrays{.context = 1, .mode = kTriangles, .count = 1}));
  run(GlBindBuffer{.context = 1, .target = kArrayBuffer, .buffer = 0});
  EXPECT_FALSE(run(GlVertexAttribPointer{.context = 1, .index = 1, .size = 4, .type = kFloat}));
  run(GlEnableVertexAttribArray{.context = 1, .index = 2});
  EXPECT_FALSE(run(GlDrawArrays{.context = 1, .mode = kTriangles, .count = 3}))
      << "attribute 2 was never pointed into a buffer";
  // Unknown contexts, a doubled one; requests still get their (neutral) replies.
  EXPECT_FALSE(run(GlGenTextures{.context = 9, .n = 2}));
  EXPECT_EQ(readReply(), 0u);
  EXPECT_FALSE(run(GlGenTextures{.context = 1, .n = -1}));
  EXPECT_EQ(readReply(), 0u);
  EXPECT_FALSE(run(GlCreateShader{.context = 9, .type = kVertexShader}));
  EXPECT_EQ(readReply(), 0u);
  EXPECT_FALSE(run(CreateContext3D{.context = 1, .width = 4, .height = 4}));
  EXPECT_FALSE(run(ResizeBuffers{.context = 1, .width = -1, .height = 4}));
  EXPECT_FALSE(run(ResizeBuffers{.context = 1, .width = 1 << 30, .height = 4}));
  EXPECT_EQ(gl->refused(), 17u) << log;
  EXPECT_EQ(gl->glErrors(), 0u) << log;

  // GL's own errors are counted, never fatal; a swap of an unknown context is still
  // acknowledged.
  run(GlEnable{.context = 1, .cap = 0x1234});
  EXPECT_EQ(gl->glErrors(), 1u);
  EXPECT_NE(log.find("GL error 0x0500 after MSG_GL_ENABLE"), std::string::npos) << log;
  EXPECT_EQ(swap(9), nullptr);
  const Picture* p = swap(1);
  ASSERT_TRUE(p);
  EXPECT_EQ(p->width, 4);
}

TEST(GlPixels, BytesByFormatTypeAndAlignment) {
  using namespace zema::controller::gl;
  EXPECT_EQ(uploadBytes(kRgba, kUnsignedByte, 3, 2, 4), 24u);
  EXPECT_EQ(uploadBytes(kRgb, kUnsignedByte, 3, 2, 4), 12u + 9u);  // first row padded to 12
  EXPECT_EQ(uploadBytes(kRgb, kUnsignedByte, 3, 2, 1), 18u);
  EXPECT_EQ(uploadBytes(kRgba, kUnsignedByte, 3, 2, 8), 16u + 12u);
  EXPECT_EQ(uploadBytes(kRgba, kFloat, 1, 1, 4), 16u);
  EXPECT_EQ(uploadBytes(0x1909, 0x8363, 1, 1, 4), 0u) << "LUMINANCE with 5_6_5 is not a pair";
  EXPECT_EQ(uploadBytes(kRgba, kUnsignedByte, 0, 5, 4), 0u);
  EXPECT_EQ(attributeBytes(kFloat, 3), 12u);
  EXPECT_EQ(attributeBytes(kFloat, 5), 0u);
  EXPECT_EQ(attributeBytes(0x8D9F, 4), 4u);
}

}  // namespace
