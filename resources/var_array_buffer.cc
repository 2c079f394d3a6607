// "PPB_VarArrayBuffer;1.0": array-buffer vars.
#include "resources/var_array_buffer.h"

#include <new>

#include "host/plugin_instance.h"
#include "resources/var.h"

static PP_Var ZEMA_VarArrayBuffer_Create(uint32_t size_in_bytes) {
  // Zeroed, so the plug-in never reads what the heap held before. One byte at least, so
  // even an empty buffer maps to a real address.
  std::unique_ptr<uint8_t[]> block(new (std::nothrow) uint8_t[size_in_bytes ? size_in_bytes : 1]());
  if (!block) return PP_Var{PP_VARTYPE_NULL, 0, {}};
  auto* buffer = new PPArrayBuffer(size_in_bytes, std::move(block));
  return makeReferenceVar(PP_VARTYPE_ARRAY_BUFFER, pluginInstance->allocateResId(buffer));
}

static PP_Bool ZEMA_VarArrayBuffer_ByteLength(PP_Var array, uint32_t* byte_length) {
  EnterVar<PPArrayBuffer> buffer(array);
  if (!buffer || byte_length == nullptr) return PP_FALSE;
  *byte_length = buffer->byteLength;
  return PP_TRUE;
}

static void* ZEMA_VarArrayBuffer_Map(PP_Var array) {
  EnterVar<PPArrayBuffer> buffer(array);
  return buffer ? buffer->data.get() : nullptr;
}

static void ZEMA_VarArrayBuffer_Unmap(PP_Var) {}

const PPB_VarArrayBuffer_1_0 ppbVarArrayBuffer = {
    ZEMA_VarArrayBuffer_Create,
    ZEMA_VarArrayBuffer_ByteLength,
    ZEMA_VarArrayBuffer_Map,
    ZEMA_VarArrayBuffer_Unmap,
};
