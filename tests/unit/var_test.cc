#include "resources/var.h"

#include "host_fixture.h"
#include "resources/resource_table.h"
#include "resources/var_array_buffer.h"

using Vars = HostFixture;

TEST_F(Vars, StringsKeepTheirBytesAndATrailingNul) {
  PP_Var var = ppbVar.VarFromUtf8("a\0bc", 4);
  EXPECT_EQ(var.type, PP_VARTYPE_STRING);
  EXPECT_EQ(var.value.as_id, 100);
  uint32_t len = 99;
  const char* text = ppbVar.VarToUtf8(var, &len);
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(len, 4u);
  EXPECT_EQ(std::string(text, 5), std::string("a\0bc\0", 5));

  PP_Var empty = ppbVar.VarFromUtf8(nullptr, 0);
  text = ppbVar.VarToUtf8(empty, &len);
  ASSERT_NE(text, nullptr) << "an empty string is still a string";
  EXPECT_EQ(len, 0u);
  EXPECT_EQ(text[0], '\0');

  // A null pointer with a length has nothing to copy.
  EXPECT_EQ(ppbVar.VarFromUtf8(nullptr, 10).type, PP_VARTYPE_NULL);

  ppbVar.Release(var);
  ppbVar.Release(empty);
  EXPECT_EQ(liveResource<PPRes>(kAnyResourceType, 100), nullptr);
  EXPECT_EQ(ppbVar.VarToUtf8(var, &len), nullptr) << "a released string is gone";
  EXPECT_EQ(len, 0u);
}

TEST_F(Vars, NonStringsReadAsNullAndCountNothing) {
  PP_Var str = ppbVar.VarFromUtf8("x", 1);
  for (PP_VarType type : {PP_VARTYPE_UNDEFINED, PP_VARTYPE_NULL, PP_VARTYPE_BOOL, PP_VARTYPE_INT32,
                          PP_VARTYPE_DOUBLE}) {
    PP_Var var{type, 0, {}};
    var.value.as_id = str.value.as_id;  // value bytes that look like the string's handle
    uint32_t len = 7;
    EXPECT_EQ(ppbVar.VarToUtf8(var, &len), nullptr);
    EXPECT_EQ(len, 0u);
    ppbVar.AddRef(var);
    ppbVar.Release(var);
    ppbVar.Release(var);
  }
  EXPECT_NE(liveResource<PPRes>(kAnyResourceType, 100), nullptr);
  // An array-buffer var with the string's handle is not a string either.
  PP_Var wrong{PP_VARTYPE_ARRAY_BUFFER, 0, {}};
  wrong.value.as_id = str.value.as_id;
  EXPECT_EQ(ppbVar.VarToUtf8(wrong, nullptr), nullptr);
  EXPECT_EQ(ppbVarArrayBuffer.Map(wrong), nullptr);
  ppbVar.Release(str);
  EXPECT_EQ(liveResource<PPRes>(kAnyResourceType, 100), nullptr);
}

TEST_F(Vars, ArrayBuffersMapToOneZeroedBlock) {
  PP_Var buf = ppbVarArrayBuffer.Create(16);
  EXPECT_EQ(buf.type, PP_VARTYPE_ARRAY_BUFFER);
  uint32_t length = 0;
  EXPECT_EQ(ppbVarArrayBuffer.ByteLength(buf, &length), PP_TRUE);
  EXPECT_EQ(length, 16u);
  auto* data = static_cast<uint8_t*>(ppbVarArrayBuffer.Map(buf));
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(ppbVarArrayBuffer.Map(buf), data);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(data[i], 0);

  PP_Var empty = ppbVarArrayBuffer.Create(0);
  EXPECT_EQ(ppbVarArrayBuffer.ByteLength(empty, &length), PP_TRUE);
  EXPECT_EQ(length, 0u);

  PP_Var str = ppbVar.VarFromUtf8("abc", 3);
  length = 42;
  EXPECT_EQ(ppbVarArrayBuffer.ByteLength(str, &length), PP_FALSE);
  EXPECT_EQ(length, 42u) << "output untouched";
  for (PP_Var v : {buf, empty, str}) ppbVar.Release(v);
  EXPECT_EQ(ppbVarArrayBuffer.ByteLength(buf, &length), PP_FALSE);
  EXPECT_EQ(ppbVarArrayBuffer.Map(buf), nullptr);
}
