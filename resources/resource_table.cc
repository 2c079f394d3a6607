// The resource table: handles, lookups and reference counting.
#include "resources/resource_table.h"

#include <algorithm>
#include <mutex>

#include "host/plugin_instance.h"

PP_Resource PluginInstance::allocateResId(PPRes* res) {
  std::lock_guard<std::mutex> guard(lock);
  for (size_t i = 0; i < resources.size(); ++i) {
    if (resources[i] == nullptr) {
      resources[i] = res;
      return kFirstResourceId + static_cast<PP_Resource>(i);
    }
  }
  resources.push_back(res);
  return kFirstResourceId + static_cast<PP_Resource>(resources.size() - 1);
}

PPRes* PluginInstance::getResFromId(int id) {
  if (id < kFirstResourceId) return nullptr;
  size_t index = static_cast<size_t>(id - kFirstResourceId);
  std::lock_guard<std::mutex> guard(lock);
  return index < resources.size() ? resources[index] : nullptr;
}

void PluginInstance::freeResId(int id) {
  if (id < kFirstResourceId) return;
  size_t index = static_cast<size_t>(id - kFirstResourceId);
  std::lock_guard<std::mutex> guard(lock);
  if (index < resources.size()) resources[index] = nullptr;
}

PP_Bool isResourceOfType(PP_Resource id, int32_t type) {
  if (id < kFirstResourceId) return PP_FALSE;
  PluginInstance& inst = *pluginInstance;
  std::lock_guard<std::mutex> guard(inst.lock);
  size_t index = static_cast<size_t>(id - kFirstResourceId);
  return index < inst.resources.size() && inst.resources[index] != nullptr &&
                 inst.resources[index]->resType == type
             ? PP_TRUE
             : PP_FALSE;
}

void ZEMA_AddRefResource(PP_Resource id) {
  if (id < kFirstResourceId) return;
  // Looked up and counted under the lock: a release on another thread cannot destroy
  // the object between the two.
  PluginInstance& inst = *pluginInstance;
  std::lock_guard<std::mutex> guard(inst.lock);
  size_t index = static_cast<size_t>(id - kFirstResourceId);
  if (index < inst.resources.size() && inst.resources[index] != nullptr)
    inst.resources[index]->refCount.fetch_add(1);
}

void ZEMA_ReleaseResource(PP_Resource id) {
  if (id < kFirstResourceId) return;
  PluginInstance& inst = *pluginInstance;
  PPRes* res = nullptr;
  {
    // The decrement and the slot clear happen under the lock, so a concurrent release
    // of the same handle cannot destroy the object twice, and a lookup never hands out
    // an object whose count already reached zero.
    std::lock_guard<std::mutex> guard(inst.lock);
    size_t index = static_cast<size_t>(id - kFirstResourceId);
    if (index >= inst.resources.size() || inst.resources[index] == nullptr) return;
    res = inst.resources[index];
    if (res->refCount.fetch_sub(1) - 1 > 0) return;
    inst.resources[index] = nullptr;  // the handle is free before the destructor runs
  }
  delete res;
}

void releaseResourceObject(PPRes* res) {
  PluginInstance& inst = *pluginInstance;
  {
    std::lock_guard<std::mutex> guard(inst.lock);
    if (res->refCount.fetch_sub(1) - 1 > 0) return;
    // The last reference: free the handle that names the object, as a release by
    // handle would.
    auto slot = std::find(inst.resources.begin(), inst.resources.end(), res);
    if (slot != inst.resources.end()) *slot = nullptr;
  }
  delete res;
}
