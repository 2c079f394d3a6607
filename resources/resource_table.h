// The resource table: handles, reference counting and the checked entry every
// resource-taking call goes through.
#pragma once

#include <utility>

#include "ppapi/pp_types.h"
#include "resources/resource.h"

// The plug-in's reference counting on a handle that names a resource of one of
// `types`; a release of a handle the plug-in holds no reference on is ignored.
void addPluginReference(PP_Resource id, uint32_t types);
void releasePluginReference(PP_Resource id, uint32_t types);
// PPB_Core's AddRefResource and ReleaseResource: any handle, a var's included.
void ZEMA_AddRefResource(PP_Resource id);
void ZEMA_ReleaseResource(PP_Resource id);

// PP_TRUE exactly when `id` names a live resource whose type number is `type`: the
// answer of every Is... predicate.
PP_Bool isResourceOfType(PP_Resource id, int32_t type);
// The predicate entry for resources of type number `Type`.
template <int32_t Type>
PP_Bool isResourceEntry(PP_Resource id) {
  return isResourceOfType(id, Type);
}

// The host's own references, held on an object rather than through its handle. The
// last reference of either kind destroys the object and frees its handle.
void holdResourceObject(PPRes* res);
void releaseResourceObject(PPRes* res);
// Registers an object the host holds (a reference of its own, none of the plug-in's)
// and returns its handle: an event or a view that lives for one call unless the
// plug-in adds a reference.
PP_Resource allocateHeldResource(PPRes* res);

// A resource looked up for the duration of one entry call: the id is checked to name
// a live resource of one of `types`, and the host holds a reference on it, taken under
// the table's lock, until the entry returns.
class ResourceEntry {
 public:
  ResourceEntry(PP_Resource id, uint32_t types);
  ~ResourceEntry();
  ResourceEntry(ResourceEntry&& other) noexcept : res_(std::exchange(other.res_, nullptr)) {}
  ResourceEntry(const ResourceEntry&) = delete;
  ResourceEntry& operator=(const ResourceEntry&) = delete;
  ResourceEntry& operator=(ResourceEntry&&) = delete;

  explicit operator bool() const { return res_ != nullptr; }
  bool failed() const { return res_ == nullptr; }
  PPRes* resource() const { return res_; }

 private:
  PPRes* res_ = nullptr;
};

// The checked entry for resources of class T (any type in T::kTypes).
template <class T>
class Enter : public ResourceEntry {
 public:
  explicit Enter(PP_Resource id) : ResourceEntry(id, T::kTypes) {}
  // For an entry that completes `callback`: `result()` then gives the standard answer,
  // in the same order everywhere: PP_ERROR_BADRESOURCE for an id that names no T, then
  // PP_ERROR_BLOCKS_MAIN_THREAD for a blocking callback, PP_OK otherwise.
  Enter(PP_Resource id, const PP_CompletionCallback& callback)
      : ResourceEntry(id, T::kTypes), blocking_(callback.func == nullptr) {}

  T* get() const { return static_cast<T*>(resource()); }
  T* operator->() const { return get(); }
  T& operator*() const { return *get(); }
  int32_t result() const {
    if (failed()) return PP_ERROR_BADRESOURCE;
    return blocking_ ? PP_ERROR_BLOCKS_MAIN_THREAD : PP_OK;
  }

 private:
  bool blocking_ = false;
};
