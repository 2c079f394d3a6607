// The one plug-in instance the host serves, and every piece of process-wide state.
#pragma once

#include <poll.h>
#include <pthread.h>

#include <cstdint>
#include <deque>
#include <initializer_list>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "fonts/freetypepp.h"
#include "host/callbacks.h"
#include "host/channel.h"
#include "ppapi/pp_types.h"
#include "ppapi/ppp.h"
#include "protocol/protocol.h"
#include "resources/resource.h"

class PPAudioStream;
class PPInputEventRes;

constexpr PP_Instance kInstanceId = 3;
constexpr PP_Module kModuleId = 1;
constexpr PP_Resource kFirstResourceId = 100;

class PluginInstance {
 public:
  PluginInstance(std::string documentUrl, std::string pluginUrl, int commandFd, int replyFd,
                 int wakeFd);
  PluginInstance(const PluginInstance&) = delete;
  PluginInstance& operator=(const PluginInstance&) = delete;

  // --- fields, in the order the host defines them ---
  std::mutex lock;  // the instance lock: timers, pending callbacks, resources, streams
  // Held while one message is written on the command connection, so messages sent from
  // several threads never interleave.
  std::mutex sendLock;
  std::recursive_mutex requestLock;              // see beginRequest()
  std::vector<MainThreadCallback> timers;        // ordered by due time
  std::deque<PendingCallback> pendingCallbacks;  // blocks never move: entries are pointed at
  std::vector<PPRes*> resources;                 // handle = 100 + index; null = free
  std::vector<PPAudioStream*> audioStreams;
  std::string pluginUrl;
  std::string documentUrl;
  int commandFd;
  int replyFd;
  int wakeFd;
  freetypepp::Library fontLibrary;
  int32_t cursorType = 0;
  int32_t screenWidth = 0;
  int32_t screenHeight = 0;
  pollfd pollSet[2];
  const PPP_Instance_1_1* instanceInterface = nullptr;
  const PPP_InputEvent_0_1* inputInterface = nullptr;
  PP_Resource boundGraphics = 0;
  PPRes* boundGraphicsObject = nullptr;  // held by a reference of the host's
  double timeZoneOffset = 0.0;
  PP_Var clipboard[4];

  // --- clock ---
  static uint64_t getTimeStampMs();

  // --- main loop ---
  void messageLoopStep();

  // --- timers and pending callbacks ---
  // Inserts a timer entry after every entry due at or before `dueTime` and wakes the
  // main loop. Any thread.
  void addTimer(uint64_t dueTime, const PP_CompletionCallback& callback, int32_t result);

  // --- resource table ---
  // Registers `res` (holding the plug-in's one reference) and returns its handle.
  // Lookups go through the checked entry (resources/resource_table.h).
  PP_Resource allocateResId(PPRes* res);
  // Wraps a registered string handle into a string var.
  PP_Var buildStringVar(PP_Resource stringId);

  // --- channel ---
  // Sends one message on the command connection: its fixed block, then the trailing
  // pieces, as one message that no other thread's can interleave.
  template <zema::protocol::HostMessageType T>
  void send(const T& message, std::initializer_list<ChannelPiece> trailing = {}) {
    sendBlock(&message, sizeof(T), trailing);
  }
  // Held by a thread from a synchronous request's send until its reply is read, so two
  // threads never take each other's replies. Recursive: a request entry may call
  // another that takes it too.
  [[nodiscard]] std::unique_lock<std::recursive_mutex> beginRequest() {
    return std::unique_lock<std::recursive_mutex>(requestLock);
  }
  // Reads one part of a synchronous reply. A reply that cannot be read leaves the host
  // without its controlling process: it says so on standard error and exits. So does a
  // command connection that closes while the host waits.
  void readReply(void* buffer, size_t size);
  // Reads a whole reply block.
  template <class Block>
  Block readReplyBlock() {
    Block block;
    readReply(&block, sizeof(block));
    return block;
  }
  // Reads one part of an incoming message, exiting the same way on failure.
  void readCommand(void* buffer, size_t size);
  // Reads `size` bytes of text from the reply or the command connection. The string
  // grows with what actually arrives, so an absurd length from the peer costs no more
  // memory than the bytes it really sends.
  std::string readReplyText(uint32_t size);
  // Reply text of at most `limit` bytes; a longer one is read and dropped, and the
  // answer is empty (nullopt).
  std::optional<std::string> readReplyText(uint32_t size, uint32_t limit);
  std::string readCommandText(uint32_t size);
  void skipCommandBytes(uint64_t size);

  // Makes the main loop's poll return (any thread).
  void wakeMainLoop();

 private:
  void sendBlock(const void* fixed, size_t size, std::initializer_list<ChannelPiece> trailing);
  void handleIncomingMessage();
  // Milliseconds until the first audio deadline (0 when one has passed), or UINT64_MAX
  // without streams. Called with the lock held.
  uint64_t audioWaitLocked(uint64_t now);
  // Paces every stream of the audio stream list.
  void paceAudio(uint64_t now);
};

// The one instance; set once at start-up, never freed.
extern PluginInstance* pluginInstance;
// The thread that runs start-up and the main loop.
extern pthread_t mainThread;

// Ends the process because the channel to the controlling process is gone.
[[noreturn]] void exitForChannel(const char* connection, ReadResult result);
// When set, called by exitForChannel instead of ending the process; it must not return
// (an in-process harness throws, to end one run and start the next).
extern void (*channelEndHook)(const char* connection, ReadResult result);
