// The resource table: handles, lookups and reference counting.
#include "resources/resource_table.h"

#include <mutex>

#include "host/plugin_instance.h"

namespace {

// The slot of handle `id`, or null for an id that no slot has ever had. The one place
// that turns handles into table positions. Called with the lock held.
PPRes** slotLocked(PluginInstance& inst, PP_Resource id) {
  if (id < kFirstResourceId) return nullptr;
  size_t index = static_cast<size_t>(id - kFirstResourceId);
  return index < inst.resources.size() ? &inst.resources[index] : nullptr;
}

// The live resource named by `id` whose type is in `types`, or null.
PPRes* lookUpLocked(PluginInstance& inst, PP_Resource id, uint32_t types) {
  PPRes** slot = slotLocked(inst, id);
  if (slot == nullptr || *slot == nullptr) return nullptr;
  PPRes* res = *slot;
  if (res->resType < 0 || res->resType >= 32 || (types & typeBit(res->resType)) == 0)
    return nullptr;
  return res;
}

// True when `res` has no reference of either kind left: its handle is then freed (before
// the destructor runs, which the caller does outside the lock).
bool unusedLocked(PluginInstance& inst, PPRes* res) {
  if (res->pluginRefs.load() > 0 || res->hostRefs.load() > 0) return false;
  if (PPRes** slot = slotLocked(inst, res->handle); slot != nullptr && *slot == res)
    *slot = nullptr;
  return true;
}

}  // namespace

PP_Resource PluginInstance::allocateResId(PPRes* res) {
  std::lock_guard<std::mutex> guard(lock);
  PP_Resource id = 0;
  for (size_t i = 0; i < resources.size() && id == 0; ++i) {
    if (resources[i] == nullptr) {
      resources[i] = res;
      id = kFirstResourceId + static_cast<PP_Resource>(i);
    }
  }
  if (id == 0) {
    resources.push_back(res);
    id = kFirstResourceId + static_cast<PP_Resource>(resources.size() - 1);
  }
  res->handle = id;
  return id;
}

PP_Resource allocateHeldResource(PPRes* res) {
  res->pluginRefs.store(0);
  res->hostRefs.store(1);
  return pluginInstance->allocateResId(res);
}

ResourceEntry::ResourceEntry(PP_Resource id, uint32_t types) {
  PluginInstance& inst = *pluginInstance;
  std::lock_guard<std::mutex> guard(inst.lock);
  res_ = lookUpLocked(inst, id, types);
  if (res_ != nullptr) res_->hostRefs.fetch_add(1);
}

ResourceEntry::~ResourceEntry() {
  if (res_ != nullptr) releaseResourceObject(res_);
}

PP_Bool isResourceOfType(PP_Resource id, int32_t type) {
  if (type < 0 || type >= 32) return PP_FALSE;
  PluginInstance& inst = *pluginInstance;
  std::lock_guard<std::mutex> guard(inst.lock);
  return lookUpLocked(inst, id, typeBit(type)) != nullptr ? PP_TRUE : PP_FALSE;
}

void addPluginReference(PP_Resource id, uint32_t types) {
  // Looked up and counted under the lock: a release on another thread cannot destroy
  // the object between the two.
  PluginInstance& inst = *pluginInstance;
  std::lock_guard<std::mutex> guard(inst.lock);
  if (PPRes* res = lookUpLocked(inst, id, types)) res->pluginRefs.fetch_add(1);
}

void ZEMA_AddRefResource(PP_Resource id) {
  addPluginReference(id, kAnyResourceType);
}

void ZEMA_ReleaseResource(PP_Resource id) {
  releasePluginReference(id, kAnyResourceType);
}

void releasePluginReference(PP_Resource id, uint32_t types) {
  PluginInstance& inst = *pluginInstance;
  PPRes* res = nullptr;
  {
    // The decrement and the slot clear happen under the lock, so a concurrent release
    // of the same handle cannot destroy the object twice, and a lookup never hands out
    // an object whose counts already reached zero. A release beyond the plug-in's own
    // references is ignored, as a browser does: the host's references stay intact.
    std::lock_guard<std::mutex> guard(inst.lock);
    res = lookUpLocked(inst, id, types);
    if (res == nullptr || res->pluginRefs.load() <= 0) return;
    res->pluginRefs.fetch_sub(1);
    if (!unusedLocked(inst, res)) return;
  }
  delete res;
}

void holdResourceObject(PPRes* res) {
  std::lock_guard<std::mutex> guard(pluginInstance->lock);
  res->hostRefs.fetch_add(1);
}

void releaseResourceObject(PPRes* res) {
  PluginInstance& inst = *pluginInstance;
  {
    std::lock_guard<std::mutex> guard(inst.lock);
    if (res->hostRefs.load() <= 0) return;
    res->hostRefs.fetch_sub(1);
    if (!unusedLocked(inst, res)) return;
  }
  delete res;
}
