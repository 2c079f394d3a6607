#include "host/startup.h"

#include <dlfcn.h>
#include <errno.h>
#include <stdio.h>
#include <string.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstddef>
#include <vector>

#include "host/plugin_instance.h"
#include "protocol/address.h"
#include "resources/interface_table.h"

namespace {

constexpr char kWritableRoot[] = "/tmp/WritableRoot";
constexpr char kPluginPath[] = "/zema/libVELTA.so";
// Abstract-namespace address: NUL "zema" NUL, 8 bytes with the family.
using zema::protocol::kChannelPath;

bool startsWith(const std::string& s, const char* prefix) {
  return s.compare(0, strlen(prefix), prefix) == 0;
}

// Connects one stream socket to the channel address; -1 with errno set on failure.
int connectChannel() {
  int fd = socket(AF_UNIX, SOCK_STREAM, 0);
  if (fd < 0) return -1;
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  memcpy(addr.sun_path, kChannelPath, sizeof(kChannelPath));
  socklen_t len = offsetof(sockaddr_un, sun_path) + sizeof(kChannelPath);
  if (connect(fd, reinterpret_cast<sockaddr*>(&addr), len) != 0) {
    int saved = errno;
    close(fd);
    errno = saved;
    return -1;
  }
  return fd;
}

[[noreturn]] void failStartup(const char* what, const char* detail) {
  fprintf(stderr, "zema-host: %s: %s\n", what, detail);
  fflush(nullptr);
  _exit(1);
}

}  // namespace

const char* resultCodeName(int32_t result) {
  switch (result) {
#define ZEMA_RESULT_NAME(name) \
  case name:                   \
    return #name;
    ZEMA_RESULT_NAME(PP_OK)
    ZEMA_RESULT_NAME(PP_OK_COMPLETIONPENDING)
    ZEMA_RESULT_NAME(PP_ERROR_FAILED)
    ZEMA_RESULT_NAME(PP_ERROR_ABORTED)
    ZEMA_RESULT_NAME(PP_ERROR_BADARGUMENT)
    ZEMA_RESULT_NAME(PP_ERROR_BADRESOURCE)
    ZEMA_RESULT_NAME(PP_ERROR_NOINTERFACE)
    ZEMA_RESULT_NAME(PP_ERROR_NOACCESS)
    ZEMA_RESULT_NAME(PP_ERROR_NOMEMORY)
    ZEMA_RESULT_NAME(PP_ERROR_NOSPACE)
    ZEMA_RESULT_NAME(PP_ERROR_NOQUOTA)
    ZEMA_RESULT_NAME(PP_ERROR_INPROGRESS)
    ZEMA_RESULT_NAME(PP_ERROR_NOTSUPPORTED)
    ZEMA_RESULT_NAME(PP_ERROR_BLOCKS_MAIN_THREAD)
    ZEMA_RESULT_NAME(PP_ERROR_MALFORMED_INPUT)
    ZEMA_RESULT_NAME(PP_ERROR_RESOURCE_FAILED)
    ZEMA_RESULT_NAME(PP_ERROR_FILENOTFOUND)
    ZEMA_RESULT_NAME(PP_ERROR_FILEEXISTS)
    ZEMA_RESULT_NAME(PP_ERROR_FILETOOBIG)
    ZEMA_RESULT_NAME(PP_ERROR_FILECHANGED)
    ZEMA_RESULT_NAME(PP_ERROR_NOTAFILE)
    ZEMA_RESULT_NAME(PP_ERROR_TIMEDOUT)
    ZEMA_RESULT_NAME(PP_ERROR_USERCANCEL)
    ZEMA_RESULT_NAME(PP_ERROR_NO_USER_GESTURE)
    ZEMA_RESULT_NAME(PP_ERROR_CONTEXT_LOST)
    ZEMA_RESULT_NAME(PP_ERROR_NO_MESSAGE_LOOP)
    ZEMA_RESULT_NAME(PP_ERROR_WRONG_THREAD)
    ZEMA_RESULT_NAME(PP_ERROR_WOULD_BLOCK_THREAD)
    ZEMA_RESULT_NAME(PP_ERROR_CONNECTION_CLOSED)
    ZEMA_RESULT_NAME(PP_ERROR_CONNECTION_RESET)
    ZEMA_RESULT_NAME(PP_ERROR_CONNECTION_REFUSED)
    ZEMA_RESULT_NAME(PP_ERROR_CONNECTION_ABORTED)
    ZEMA_RESULT_NAME(PP_ERROR_CONNECTION_FAILED)
    ZEMA_RESULT_NAME(PP_ERROR_CONNECTION_TIMEDOUT)
    ZEMA_RESULT_NAME(PP_ERROR_ADDRESS_INVALID)
    ZEMA_RESULT_NAME(PP_ERROR_ADDRESS_UNREACHABLE)
    ZEMA_RESULT_NAME(PP_ERROR_ADDRESS_IN_USE)
    ZEMA_RESULT_NAME(PP_ERROR_MESSAGE_TOO_BIG)
    ZEMA_RESULT_NAME(PP_ERROR_NAME_NOT_RESOLVED)
#undef ZEMA_RESULT_NAME
  }
  return "not a PPAPI result code";
}

std::string resolvePluginUrl(const std::string& documentUrl, const std::string& src) {
  if (startsWith(src, "http:") || startsWith(src, "https:")) return src;
  std::string base;
  if (startsWith(src, "/")) {
    // Scheme and authority of the document URL.
    size_t scheme = documentUrl.find("://");
    size_t from = scheme == std::string::npos ? 2 : scheme + 3;
    size_t slash = from < documentUrl.size() ? documentUrl.find('/', from) : std::string::npos;
    // A document URL that ends with its authority is all scheme and authority.
    base = slash == std::string::npos ? documentUrl : documentUrl.substr(0, slash);
  } else {
    // Up to and including the last "/" before any query or fragment.
    size_t end = documentUrl.find_first_of("?#");
    size_t slash = documentUrl.rfind('/', end);
    if (slash != std::string::npos) base = documentUrl.substr(0, slash + 1);
  }
  return base + src;
}

std::string collectAttributes(int argc, char** argv, std::vector<const char*>& names,
                              std::vector<const char*>& values) {
  std::string documentUrl = argv[1];
  std::string pluginUrl;
  // A last argument without a partner is ignored.
  int pairs = (argc - 2) / 2;
  for (int i = 0; i < pairs; ++i) {
    names.push_back(argv[2 + 2 * i]);
    values.push_back(argv[3 + 2 * i]);
    // Exactly "src", case and length included; the last such pair decides.
    if (strcmp(names.back(), "src") == 0) pluginUrl = resolvePluginUrl(documentUrl, values.back());
  }
  return pluginUrl;
}

int hostMain(int argc, char** argv) {
  if (argc < 2) {
    fprintf(stderr, "usage: %s DOCUMENT-URL [NAME VALUE]...\n", argc > 0 ? argv[0] : "zema-host");
    return 2;
  }
  // Lines the host and the plug-in print reach a reader on a pipe as they happen.
  setvbuf(stdout, nullptr, _IOLBF, 0);

  // 1. Attribute pairs and the plug-in URL.
  static std::vector<const char*> names, values;  // live for the life of the process
  std::string pluginUrl = collectAttributes(argc, argv, names, values);
  uint32_t pairs = static_cast<uint32_t>(names.size());

  // 2. The writable root; it is normally there already.
  mkdir(kWritableRoot, 0777);

  // 3. The wake-up counter.
  int wakeFd = eventfd(0, EFD_NONBLOCK);
  if (wakeFd < 0) failStartup("cannot create the wake-up counter", strerror(errno));

  // 4, 5. Command connection first, reply connection second.
  int commandFd = connectChannel();
  if (commandFd < 0)
    failStartup("cannot connect the command connection to the abstract address \"\\0zema\\0\"",
                strerror(errno));
  int replyFd = connectChannel();
  if (replyFd < 0)
    failStartup("cannot connect the reply connection to the abstract address \"\\0zema\\0\"",
                strerror(errno));

  // 6, 7. The instance and the main thread exist before any plug-in code runs.
  pluginInstance = new PluginInstance(argv[1], pluginUrl, commandFd, replyFd, wakeFd);
  mainThread = pthread_self();

  // 8. The plug-in library and its two entry points.
  void* library = dlopen(kPluginPath, RTLD_LAZY);
  if (library == nullptr) failStartup("cannot load the plug-in", dlerror());
  auto initializeModule =
      reinterpret_cast<PP_InitializeModule_Func>(dlsym(library, "PPP_InitializeModule"));
  if (initializeModule == nullptr)
    failStartup("the plug-in does not export PPP_InitializeModule", dlerror());
  auto getInterface = reinterpret_cast<PP_GetInterface_Func>(dlsym(library, "PPP_GetInterface"));
  if (getInterface == nullptr)
    failStartup("the plug-in does not export PPP_GetInterface", dlerror());

  // 9. From here on the plug-in may call any host interface. A plug-in that refuses to
  // start gets no instance: it said it cannot work.
  int32_t initialized = initializeModule(kModuleId, ZEMA_GetInterface);
  if (initialized != PP_OK) {
    fprintf(stderr, "zema-host: the plug-in's PPP_InitializeModule failed with %d (%s)\n",
            static_cast<int>(initialized), resultCodeName(initialized));
    fflush(nullptr);
    _exit(1);
  }

  // 10. The two plug-in interfaces. Without PPP_InputEvent no input is delivered.
  auto* instance = static_cast<const PPP_Instance_1_1*>(getInterface("PPP_Instance;1.1"));
  auto* input = static_cast<const PPP_InputEvent_0_1*>(getInterface("PPP_InputEvent;0.1"));
  if (instance == nullptr || instance->DidCreate == nullptr)
    failStartup("the plug-in", "PPP_GetInterface yields no \"PPP_Instance;1.1\" table");
  pluginInstance->instanceInterface = instance;
  pluginInstance->inputInterface = input;

  // 11. The one instance.
  instance->DidCreate(kInstanceId, pairs, names.data(), values.data());

  // 12. The main loop, for the life of the process.
  for (;;) pluginInstance->messageLoopStep();
}
