// "PPB_VarArrayBuffer;1.0": array-buffer vars.
#pragma once

#include <cstdint>
#include <memory>

#include "ppapi/ppb_var.h"
#include "resources/resource.h"

// The object behind an array-buffer var: a block of a fixed length that never moves.
class PPArrayBuffer : public PPRes {
 public:
  static constexpr uint32_t kTypes = typeBit(kResArrayBuffer);
  PPArrayBuffer(uint32_t length, std::unique_ptr<uint8_t[]> block)
      : PPRes(kResArrayBuffer), byteLength(length), data(std::move(block)) {}
  const uint32_t byteLength;
  const std::unique_ptr<uint8_t[]> data;
};

extern const PPB_VarArrayBuffer_1_0 ppbVarArrayBuffer;
