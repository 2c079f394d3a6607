#include "host/callbacks.h"

#include <mutex>

#include "host/plugin_instance.h"
#include "resources/resource_table.h"

namespace {

uint64_t lastSerial = 0;  // guarded by the instance lock

}  // namespace

PendingCallbackRef::~PendingCallbackRef() {
  detach();
}

int32_t PendingCallbackRef::set(const PP_CompletionCallback& callback, PPRes* owner,
                                CallbackKind kind) {
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
    entry->kind = kind;
    entry->serial = ++lastSerial;
    entry_ = entry;
  }
  return number;
}

void PendingCallbackRef::unset() {
  detach();
}

void PendingCallbackRef::detach() {
  std::lock_guard<std::mutex> guard(pluginInstance->lock);
  if (entry_ == nullptr) return;
  if (entry_->ownerRef == this) {
    entry_->owner = nullptr;
    entry_->ownerRef = nullptr;
  }
  entry_ = nullptr;
}

Completion::Completion(uint32_t number, uint32_t kinds) {
  PluginInstance& inst = *pluginInstance;
  std::lock_guard<std::mutex> guard(inst.lock);
  if (number == 0 || number > inst.pendingCallbacks.size()) return;
  PendingCallback& entry = inst.pendingCallbacks[number - 1];
  if (entry.isFree() || (kindBit(entry.kind) & kinds) == 0) return;
  entry_ = &entry;
  serial_ = entry.serial;
  callback_ = entry.callback;
  owner_ = entry.owner;
  kind_ = entry.kind;
  found_ = true;
  // Under the lock that a release on another thread takes too: the owner cannot reach
  // its destructor between the lookup and the hold.
  if (owner_ != nullptr) owner_->hostRefs.fetch_add(1);
}

Completion::~Completion() {
  if (owner_ != nullptr) releaseResourceObject(owner_);
}

void Completion::free() {
  std::lock_guard<std::mutex> guard(pluginInstance->lock);
  if (entry_ == nullptr) return;
  if (entry_->serial == serial_ && !entry_->isFree()) {
    if (entry_->ownerRef != nullptr && entry_->ownerRef->entry_ == entry_)
      entry_->ownerRef->entry_ = nullptr;
    *entry_ = PendingCallback{};
  }
  entry_ = nullptr;
}

void Completion::run(int32_t result) {
  if (entry_ == nullptr) return;
  free();
  if (callback_.func != nullptr) callback_.func(callback_.user_data, result);
}

void Completion::discard() {
  free();
}

void completeUnlessDetached(uint32_t number, CallbackKind kind, int32_t result) {
  Completion done(number, kindBit(kind));
  if (!done) return;
  if (done.owner() != nullptr)
    done.run(result);
  else
    done.discard();
}
