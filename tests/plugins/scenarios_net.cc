// Scenarios for URL requests and loaders, sockets, the document URL, scripting and
// navigation. Steps are driven by key events whose key code is the step number.
//
//   url-loader
//     step 1  Loader A: GET "http://example.org/a.bin", no headers, body or progress.
//             When opened it prints the response info, then reads 8 bytes at a time
//             into a 12-byte buffer of dots until a read completes with 0 or less.
//     step 2  Loader B: POST with headers, a body built by three appends, progress on;
//             refused method names and a URL that is not a string are tried first.
//     step 3  Prints B's download progress.
//     step 4  Loader C opened and released at once; loader E likewise.
//     step 5  Loader D opened; when opened it starts an 8-byte read.
//     step 6  D released while its read is pending; A closed.
//     step 7  TCP socket and network monitor refusals; two Connects.
//   document  DidCreate prints the document URL's components, the window object and
//             the plug-in URL's var type. Step 1 runs three scripts (and one that is
//             not a string); step 2 navigates.
#include <stdio.h>
#include <string.h>

#include <string>

#include "ppapi/ppb_core.h"
#include "ppapi/ppb_flash.h"
#include "ppapi/ppb_input_event.h"
#include "ppapi/ppb_instance.h"
#include "ppapi/ppb_net_private.h"
#include "ppapi/ppb_network_monitor.h"
#include "ppapi/ppb_url_loader.h"
#include "ppapi/ppb_url_util_dev.h"
#include "ppapi/ppb_var.h"
#include "tests/plugins/test_plugin.h"

namespace {

using testplugin::Args;
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
  const PPB_TCPSocket_Private_0_3* tcp =
      testplugin::hostInterfaceAs<PPB_TCPSocket_Private_0_3>("PPB_TCPSocket_Private;0.3");
  const PPB_NetworkMonitor_1_0* monitor =
      testplugin::hostInterfaceAs<PPB_NetworkMonitor_1_0>("PPB_NetworkMonitor;1.0");
  const PPB_URLUtil_Dev_0_6* util =
      testplugin::hostInterfaceAs<PPB_URLUtil_Dev_0_6>("PPB_URLUtil(Dev);0.6");
  const PPB_Instance_Private_0_1* instance =
      testplugin::hostInterfaceAs<PPB_Instance_Private_0_1>("PPB_Instance_Private;0.1");
  const PPB_Flash_13_0* flash = testplugin::hostInterfaceAs<PPB_Flash_13_0>("PPB_Flash;13.0");
};

const Tables& api() {
  static Tables tables;
  return tables;
}

PP_Var str(const std::string& text) {
  return api().var->VarFromUtf8(text.data(), static_cast<uint32_t>(text.size()));
}

std::string text(PP_Var var) {
  uint32_t len = 0;
  const char* bytes = api().var->VarToUtf8(var, &len);
  return bytes != nullptr ? std::string(bytes, len) : std::string("<not a string>");
}

PP_Bool setString(PP_Resource request, PP_URLRequestProperty property, const std::string& value) {
  PP_Var var = str(value);
  PP_Bool ok = api().request->SetProperty(request, property, var);
  api().var->Release(var);
  return ok;
}

// One loader and what the plug-in knows of it.
struct Load {
  const char* name;
  PP_Resource loader = 0;
  char buffer[12] = {};
  bool readOnOpen = false;  // start one read when opened
  bool readToEnd = false;   // keep reading until a read gives 0 or an error
};

Load loadA{"A"}, loadB{"B"}, loadC{"C"}, loadD{"D"}, loadE{"E"};

void startRead(Load* load);

void onRead(void* user_data, int32_t result) {
  auto* load = static_cast<Load*>(user_data);
  report("read %s result=%d buffer=%.12s", load->name, result, load->buffer);
  if (load->readToEnd && result > 0) startRead(load);
}

void startRead(Load* load) {
  memset(load->buffer, '.', sizeof(load->buffer));
  int32_t result = api().loader->ReadResponseBody(load->loader, load->buffer, 8,
                                                  PP_CompletionCallback{onRead, load, 0});
  report("read %s started=%d", load->name, result);
}

void printResponse(PP_Resource loader) {
  const Tables& t = api();
  PP_Resource info = t.loader->GetResponseInfo(loader);
  std::string line;
  for (int property = 0; property <= 6; ++property) {
    PP_Var v = t.response->GetProperty(info, static_cast<PP_URLResponseProperty>(property));
    char part[160];
    if (v.type == PP_VARTYPE_STRING) {
      std::string value = text(v);
      for (size_t at; (at = value.find('\n')) != std::string::npos;) value.replace(at, 1, "\\n");
      snprintf(part, sizeof(part), " %d:\"%s\"", property, value.c_str());
    } else {
      snprintf(part, sizeof(part), " %d:type%d/%d", property, v.type, v.value.as_int);
    }
    line += part;
    t.var->Release(v);
  }
  t.core->ReleaseResource(info);
  report("response%s", line.c_str());
}

void onOpen(void* user_data, int32_t result) {
  auto* load = static_cast<Load*>(user_data);
  report("opened %s result=%d", load->name, result);
  if (result != PP_OK) return;
  if (load == &loadA) printResponse(load->loader);
  if (load->readOnOpen) startRead(load);
}

int32_t open(Load* load, PP_Resource request) {
  load->loader = api().loader->Create(testplugin::instance());
  return api().loader->Open(load->loader, request, PP_CompletionCallback{onOpen, load, 0});
}

PP_Resource getRequest(const char* url) {
  PP_Resource request = api().request->Create(testplugin::instance());
  setString(request, PP_URLREQUESTPROPERTY_URL, url);
  return request;
}

void connected(void* user_data, int32_t result) {
  report("connected %s result=%d", static_cast<const char*>(user_data), result);
}

void loaderStep(uint32_t step) {
  const Tables& t = api();
  switch (step) {
    case 1: {
      PP_Resource request = getRequest("http://example.org/a.bin");
      loadA.readOnOpen = loadA.readToEnd = true;
      int32_t result = open(&loadA, request);
      t.core->ReleaseResource(request);
      // Before any response: a snapshot of nothing.
      PP_Resource info = t.loader->GetResponseInfo(loadA.loader);
      PP_Var status = t.response->GetProperty(info, PP_URLRESPONSEPROPERTY_STATUSCODE);
      t.core->ReleaseResource(info);
      report("step 1 open=%d early-status=%d/%d", result, status.type, status.value.as_int);
      break;
    }
    case 2: {
      PP_Resource request = getRequest("http://example.org/post");
      PP_Bool lower = setString(request, PP_URLREQUESTPROPERTY_METHOD, "get");
      PP_Bool put = setString(request, PP_URLREQUESTPROPERTY_METHOD, "PUT");
      PP_Bool post = setString(request, PP_URLREQUESTPROPERTY_METHOD, "POST");
      PP_Var number{PP_VARTYPE_INT32, 0, {}};
      PP_Bool notString = t.request->SetProperty(request, PP_URLREQUESTPROPERTY_URL, number);
      setString(request, PP_URLREQUESTPROPERTY_HEADERS, "X-A: 1\nX-B: 2");
      PP_Var yes{PP_VARTYPE_BOOL, 0, {}};
      yes.value.as_bool = PP_TRUE;
      t.request->SetProperty(request, PP_URLREQUESTPROPERTY_RECORDDOWNLOADPROGRESS, yes);
      t.request->AppendDataToBody(request, "ab", 2);
      t.request->AppendDataToBody(request, "cd", 2);
      t.request->AppendDataToBody(request, "zz", 0);
      int32_t result = open(&loadB, request);
      t.core->ReleaseResource(request);
      report("step 2 lower=%d put=%d post=%d not-string=%d open=%d", lower, put, post, notString,
             result);
      [[fallthrough]];
    }
    case 3: {
      int64_t received = -7, total = -7;
      PP_Bool known = t.loader->GetDownloadProgress(loadB.loader, &received, &total);
      report("progress known=%d %lld/%lld", known, static_cast<long long>(received),
             static_cast<long long>(total));
      break;
    }
    case 4: {
      PP_Resource request = getRequest("http://example.org/c");
      int32_t c = open(&loadC, request);
      t.core->ReleaseResource(loadC.loader);
      int32_t e = open(&loadE, request);
      t.core->ReleaseResource(loadE.loader);
      t.core->ReleaseResource(request);
      report("step 4 open=%d,%d", c, e);
      break;
    }
    case 5: {
      PP_Resource request = getRequest("http://example.org/d");
      loadD.readOnOpen = true;
      report("step 5 open=%d", open(&loadD, request));
      t.core->ReleaseResource(request);
      break;
    }
    case 6:
      t.core->ReleaseResource(loadD.loader);
      t.loader->Close(loadA.loader);
      report("step 6 released");
      break;
    case 7: {
      PP_Resource socket = t.tcp->Create(testplugin::instance());
      int32_t first = t.tcp->Connect(socket, "example.org", 80,
                                     PP_CompletionCallback{connected, const_cast<char*>("1"), 0});
      int32_t second = t.tcp->Connect(socket, "example.org", 80,
                                      PP_CompletionCallback{connected, const_cast<char*>("2"), 0});
      PP_NetAddress_Private address;
      memset(&address, 0x5a, sizeof(address));
      PP_Bool local = t.tcp->GetLocalAddress(socket, &address);
      PP_Bool remote = t.tcp->GetRemoteAddress(socket, &address);
      bool untouched = address.size == 0x5a5a5a5a && address.data[127] == 0x5a;
      PP_Resource list = 42;
      int32_t update = t.monitor->UpdateNetworkList(
          t.monitor->Create(testplugin::instance()), &list,
          PP_CompletionCallback{connected, const_cast<char*>("monitor"), 0});
      report("step 7 socket=%d connect=%d,%d local=%d remote=%d untouched=%d update=%d list=%d",
             socket, first, second, local, remote, untouched, update, list);
      break;
    }
    default:
      report("step %u unknown", step);
  }
}

PP_Bool loaderEvent(PP_Resource event) {
  loaderStep(testplugin::keyCode(event));
  return PP_TRUE;
}

void loaderCreate(const Args&) {
  report("url-loader ready");
}

// --- document ---

void documentCreate(const Args&) {
  const Tables& t = api();
  PP_URLComponents_Dev c;
  memset(&c, 0x77, sizeof(c));
  PP_Var url = t.util->GetDocumentURL(testplugin::instance(), &c);
  const PP_URLComponent_Dev* parts = &c.scheme;
  std::string line;
  for (int i = 0; i < 8; ++i) {
    char part[32];
    snprintf(part, sizeof(part), " %d,%d", parts[i].begin, parts[i].len);
    line += part;
  }
  PP_Var again = t.util->GetDocumentURL(testplugin::instance(), nullptr);
  PP_Var window = t.instance->GetWindowObject(testplugin::instance());
  PP_Var plugin = t.util->GetPluginInstanceURL(testplugin::instance(), nullptr);
  report("document \"%s\"%s new-var=%d window=%d/%lld plugin-type=%d", text(url).c_str(),
         line.c_str(), again.value.as_id != url.value.as_id, window.type,
         static_cast<long long>(window.value.as_id), plugin.type);
  for (PP_Var v : {url, again, plugin}) t.var->Release(v);
}

void documentStep(uint32_t step) {
  const Tables& t = api();
  PP_Instance inst = testplugin::instance();
  if (step == 1) {
    PP_Var number{PP_VARTYPE_INT32, 0, {}};
    number.value.as_int = 5;
    PP_Var none = t.instance->ExecuteScript(inst, number, nullptr);
    report("script not-a-string type=%d", none.type);
    for (const char* script : {"one()", "two()", "three()"}) {
      PP_Var s = str(script);
      PP_Var exception{PP_VARTYPE_INT32, 0, {}};
      exception.value.as_int = 99;
      PP_Var result = t.instance->ExecuteScript(inst, s, &exception);
      report("script %s type=%d value=%lld text=\"%s\" exception=%d/%d", script, result.type,
             result.type == PP_VARTYPE_STRING ? 0LL : static_cast<long long>(result.value.as_id),
             result.type == PP_VARTYPE_STRING ? text(result).c_str() : "", exception.type,
             exception.value.as_int);
      t.var->Release(result);
      t.var->Release(s);
    }
  } else if (step == 2) {
    PP_Resource request = getRequest("http://x/y");
    int32_t result = t.flash->Navigate(request, "_blank", PP_TRUE);
    t.core->ReleaseResource(request);
    int32_t bad = t.flash->Navigate(99999, "_self", PP_FALSE);
    report("navigate result=%d bad=%d", result, bad);
  }
}

PP_Bool documentEvent(PP_Resource event) {
  documentStep(testplugin::keyCode(event));
  return PP_TRUE;
}

testplugin::ScenarioRegistrar loaderRegistrar("url-loader", {loaderCreate, nullptr, loaderEvent});
testplugin::ScenarioRegistrar documentRegistrar("document",
                                                {documentCreate, nullptr, documentEvent});

}  // namespace
