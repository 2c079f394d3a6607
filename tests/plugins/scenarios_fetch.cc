// A scenario that fetches URLs one after another the way a plug-in's data loads do, for
// tests of a controlling process's URL service (zema-run's).
//
//   fetch   attributes: urls   space-separated URLs, fetched in turn
//                       post   when present, each is a POST with this body
//                       chunk  bytes per read (default 100)
//                       progress  "1": record download progress
//   Lines, N the URL's index:
//     fetch N opened result=R status=S
//     fetch N piece=P asked=C            each read that gave bytes
//     fetch N progress=A/T               after each read, when recording progress
//     fetch N done bytes=B fnv=H         a read gave 0: B bytes in all, FNV-1a 32 hash
//     fetch N read failed result=R
//     fetch all done
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "ppapi/ppb_core.h"
#include "ppapi/ppb_url_loader.h"
#include "ppapi/ppb_var.h"
#include "tests/plugins/test_plugin.h"

namespace {

using testplugin::report;

struct Tables {
  const PPB_Core_1_0* core = testplugin::hostInterfaceAs<PPB_Core_1_0>("PPB_Core;1.0");
  const PPB_Var_1_2* var = testplugin::hostInterfaceAs<PPB_Var_1_2>("PPB_Var;1.2");
  const PPB_URLRequestInfo_1_0* request =
      testplugin::hostInterfaceAs<PPB_URLRequestInfo_1_0>("PPB_URLRequestInfo;1.0");
  const PPB_URLLoader_1_0* loader =
      testplugin::hostInterfaceAs<PPB_URLLoader_1_0>("PPB_URLLoader;1.0");
  const PPB_URLResponseInfo_1_0* response =
      testplugin::hostInterfaceAs<PPB_URLResponseInfo_1_0>("PPB_URLResponseInfo;1.0");
};

const Tables& api() {
  static Tables tables;
  return tables;
}

struct Fetch {
  std::vector<std::string> urls;
  const char* post = nullptr;
  int32_t chunk = 100;
  bool progress = false;

  size_t index = 0;
  PP_Resource loader = 0;
  std::vector<char> buffer;
  uint64_t bytes = 0;
  uint32_t hash = 2166136261u;
};

Fetch fetch;

void next();

void setString(PP_Resource request, PP_URLRequestProperty property, const std::string& value) {
  PP_Var var = api().var->VarFromUtf8(value.data(), static_cast<uint32_t>(value.size()));
  api().request->SetProperty(request, property, var);
  api().var->Release(var);
}

void finish() {
  api().core->ReleaseResource(fetch.loader);
  fetch.loader = 0;
  ++fetch.index;
  next();
}

void onRead(void*, int32_t result);

void read() {
  int32_t started = api().loader->ReadResponseBody(fetch.loader, fetch.buffer.data(), fetch.chunk,
                                                   PP_CompletionCallback{onRead, nullptr, 0});
  if (started != PP_OK_COMPLETIONPENDING) onRead(nullptr, started);
}

void onRead(void*, int32_t result) {
  size_t n = fetch.index;
  if (result < 0) {
    report("fetch %zu read failed result=%d", n, result);
    return finish();
  }
  if (result > 0) {
    report("fetch %zu piece=%d asked=%d", n, result, fetch.chunk);
    for (int32_t i = 0; i < result && i < fetch.chunk; ++i) {
      fetch.hash = (fetch.hash ^ static_cast<uint8_t>(fetch.buffer[i])) * 16777619u;
    }
    fetch.bytes += static_cast<uint64_t>(result);
  }
  if (fetch.progress) {
    int64_t received = -1, total = -1;
    if (api().loader->GetDownloadProgress(fetch.loader, &received, &total)) {
      report("fetch %zu progress=%lld/%lld", n, static_cast<long long>(received),
             static_cast<long long>(total));
    }
  }
  if (result == 0) {
    report("fetch %zu done bytes=%llu fnv=%08x", n, static_cast<unsigned long long>(fetch.bytes),
           fetch.hash);
    return finish();
  }
  read();
}

void onOpen(void*, int32_t result) {
  size_t n = fetch.index;
  int32_t status = 0;
  if (result == PP_OK) {
    PP_Resource info = api().loader->GetResponseInfo(fetch.loader);
    PP_Var v = api().response->GetProperty(info, PP_URLRESPONSEPROPERTY_STATUSCODE);
    status = v.value.as_int;
    api().core->ReleaseResource(info);
  }
  report("fetch %zu opened result=%d status=%d", n, result, status);
  if (result != PP_OK) return finish();
  fetch.bytes = 0;
  fetch.hash = 2166136261u;
  read();
}

void next() {
  if (fetch.index >= fetch.urls.size()) {
    report("fetch all done");
    return;
  }
  const Tables& t = api();
  PP_Resource request = t.request->Create(testplugin::instance());
  setString(request, PP_URLREQUESTPROPERTY_URL, fetch.urls[fetch.index]);
  if (fetch.post != nullptr) {
    setString(request, PP_URLREQUESTPROPERTY_METHOD, "POST");
    t.request->AppendDataToBody(request, fetch.post, static_cast<uint32_t>(strlen(fetch.post)));
  }
  if (fetch.progress) {
    PP_Var yes{PP_VARTYPE_BOOL, 0, {}};
    yes.value.as_bool = PP_TRUE;
    t.request->SetProperty(request, PP_URLREQUESTPROPERTY_RECORDDOWNLOADPROGRESS, yes);
  }
  fetch.loader = t.loader->Create(testplugin::instance());
  int32_t result = t.loader->Open(fetch.loader, request, PP_CompletionCallback{onOpen, nullptr, 0});
  t.core->ReleaseResource(request);
  if (result != PP_OK_COMPLETIONPENDING) onOpen(nullptr, result);
}

void run(const testplugin::Args& args) {
  std::string urls = args.get("urls", "");
  for (size_t at = 0; at < urls.size();) {
    size_t end = urls.find(' ', at);
    if (end == std::string::npos) end = urls.size();
    if (end > at) fetch.urls.push_back(urls.substr(at, end - at));
    at = end + 1;
  }
  fetch.post = args.get("post");
  fetch.chunk = static_cast<int32_t>(args.getInt("chunk", 100));
  if (fetch.chunk <= 0) fetch.chunk = 1;
  fetch.progress = args.getInt("progress") == 1;
  fetch.buffer.assign(static_cast<size_t>(fetch.chunk), 0);
  next();
}

testplugin::ScenarioRegistrar registrar("fetch", {run});

}  // namespace
