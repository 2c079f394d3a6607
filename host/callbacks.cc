#include "host/callbacks.h"

#include <mutex>

#include "host/plugin_instance.h"

PendingCallbackRef::~PendingCallbackRef() {
  detach();
}

int32_t PendingCallbackRef::set(const PP_CompletionCallback& callback, PPRes* owner) {
  detach();
  PluginInstance& inst = *pluginInstance;
  PendingCallback* entry = nullptr;
  int32_t number = 0;
  {
    std::lock_guard<std::mutex> guard(inst.lock);
    for (size_t i = 0; i < inst.pendingCallbacks.size(); ++i) {
      if (inst.pendingCallbacks[i].isFree()) {
        entry = &inst.pendingCallbacks[i];
        number = static_cast<int32_t>(i + 1);
        break;
      }
    }
    if (entry == nullptr) {
      entry = &inst.pendingCallbacks.emplace_back();  // deque: older entries stay put
      number = static_cast<int32_t>(inst.pendingCallbacks.size());
    }
    entry->callback = callback;
    entry->owner = owner;
    entry->ownerRef = this;
  }
  entry_ = entry;
  return number;
}

void PendingCallbackRef::unset() {
  detach();
}

void PendingCallbackRef::detach() {
  if (entry_ == nullptr) return;
  {
    std::lock_guard<std::mutex> guard(pluginInstance->lock);
    if (entry_->ownerRef == this) {
      entry_->owner = nullptr;
      entry_->ownerRef = nullptr;
    }
  }
  entry_ = nullptr;
}

void PendingCallback::run(int32_t result) {
  PP_CompletionCallback cb;
  {
    std::lock_guard<std::mutex> guard(pluginInstance->lock);
    if (ownerRef != nullptr) ownerRef->entry_ = nullptr;
    owner = nullptr;
    ownerRef = nullptr;
    cb = callback;
  }
  if (cb.func != nullptr) cb.func(cb.user_data, result);
  std::lock_guard<std::mutex> guard(pluginInstance->lock);
  callback = PP_CompletionCallback{};
}

void PendingCallback::abort() {
  std::lock_guard<std::mutex> guard(pluginInstance->lock);
  if (ownerRef != nullptr) ownerRef->entry_ = nullptr;
  owner = nullptr;
  ownerRef = nullptr;
  callback = PP_CompletionCallback{};
}
