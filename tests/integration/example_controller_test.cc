// The example controlling process (examples/controller), built from the kit alone, runs
// the demo plug-in: it prints the host's messages by name, acknowledges the frames so
// that more follow, and ends cleanly on its first key.
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>

namespace {

#ifdef ZEMA_EXAMPLE_CONTROLLER
using Clock = std::chrono::steady_clock;

// Reads the child's output until `needle` has appeared `times` times or the time is up.
bool readUntil(int fd, std::string* output, const std::string& needle, int times,
               std::chrono::seconds limit) {
  auto end = Clock::now() + limit;
  auto count = [&] {
    int n = 0;
    for (size_t at = output->find(needle); at != std::string::npos;
         at = output->find(needle, at + 1))
      ++n;
    return n;
  };
  while (count() < times && Clock::now() < end) {
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, 100) <= 0) continue;
    char buffer[4096];
    ssize_t n = read(fd, buffer, sizeof(buffer));
    if (n <= 0) return false;
    output->append(buffer, static_cast<size_t>(n));
  }
  return count() >= times;
}
#endif

TEST(ExampleController, RunsTheDemoAndQuitsOnAKey) {
#ifndef ZEMA_EXAMPLE_CONTROLLER
  GTEST_SKIP() << "controlling processes are built for x86-64 only";
#else
  int in[2], out[2];
  ASSERT_EQ(pipe(in), 0);
  ASSERT_EQ(pipe(out), 0);
  pid_t pid = fork();
  if (pid == 0) {
    dup2(in[0], 0);
    dup2(out[1], 1);
    dup2(out[1], 2);
    for (int fd : {in[0], in[1], out[0], out[1]}) close(fd);
    execl(ZEMA_EXAMPLE_CONTROLLER, ZEMA_EXAMPLE_CONTROLLER, ZEMA_HOST_BINARY, ZEMA_DEMO_PLUGIN,
          ZEMA_FONT_FILE, "http://example.org/demo/index.html", "src", "data.bin",
          static_cast<char*>(nullptr));
    _exit(127);
  }
  close(in[0]);
  close(out[1]);
  std::string output;
  // Frames keep coming only if each Flush is acknowledged; the failed fetch is answered.
  bool frames = readUntil(out[0], &output, "MSG_FLUSH_2D (+", 5, std::chrono::seconds(20));
  EXPECT_TRUE(frames) << output;
  EXPECT_NE(output.find("MSG_BIND_GRAPHICS_2D"), std::string::npos) << output;
  EXPECT_NE(output.find("MSG_URL_OPEN (+"), std::string::npos) << output;
  ASSERT_EQ(write(in[1], "q", 1), 1);
  EXPECT_TRUE(readUntil(out[0], &output, " messages", 1, std::chrono::seconds(10))) << output;
  int status = 0;
  for (int i = 0; i < 100 && waitpid(pid, &status, WNOHANG) == 0; ++i) usleep(100000);
  if (waitpid(pid, &status, WNOHANG) == 0) {
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
    ADD_FAILURE() << "the example did not end after its key\n" << output;
  }
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << output;
  close(in[1]);
  close(out[0]);
#endif
}

}  // namespace
