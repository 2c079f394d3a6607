// "PPB_Flash_Clipboard;4.0", ";5.0" and ";5.1": the clipboard. The host keeps what the plug-in last
// wrote, one var per format; only plain text travels to and from the controlling process.
#include "services/flash_clipboard.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "host/plugin_instance.h"
#include "resources/var.h"

namespace {

constexpr PP_Var kNull{PP_VARTYPE_NULL, 0, {}};

bool isKnownFormat(uint32_t format) {
  return format >= PP_FLASH_CLIPBOARD_FORMAT_PLAINTEXT && format <= PP_FLASH_CLIPBOARD_FORMAT_RTF;
}

// The var in a slot with one more reference, for the caller.
PP_Var share(const PP_Var& slot) {
  ZEMA_AddRef(slot);
  return slot;
}

}  // namespace

static PP_Bool ZEMA_IsFormatAvailable(PP_Instance, PP_Flash_Clipboard_Type,
                                      PP_Flash_Clipboard_Format format) {
  return isKnownFormat(static_cast<uint32_t>(format)) ? PP_TRUE : PP_FALSE;
}

constexpr uint32_t kMaxClipboardText = uint32_t{16} << 20;

static PP_Var ZEMA_ReadData(PP_Instance, PP_Flash_Clipboard_Type,
                            PP_Flash_Clipboard_Format format) {
  PluginInstance& inst = *pluginInstance;
  uint32_t f = static_cast<uint32_t>(format);
  if (f > PP_FLASH_CLIPBOARD_FORMAT_RTF) return kNull;
  if (f != PP_FLASH_CLIPBOARD_FORMAT_PLAINTEXT) return share(inst.clipboard[f]);

  auto request = inst.beginRequest();
  inst.send(zema::protocol::ClipboardReadText{});
  auto reply = inst.readReplyBlock<zema::protocol::ClipboardTextReplyBlock>();
  if (reply.ownText != 0) return share(inst.clipboard[f]);
  // Text longer than 16 MiB is read and dropped: the read gives nothing.
  std::optional<std::string> text = inst.readReplyText(reply.textLength, kMaxClipboardText);
  if (!text) return kNull;
  return makeStringVar(*text);
}

namespace {

// WriteData for both format array types (4-byte enums in 4.0, uint32_t from 5.0 on).
int32_t writeItems(uint32_t data_item_count, const void* formats, const PP_Var data_items[]) {
  PluginInstance& inst = *pluginInstance;
  // The whole content is replaced, even by an empty write.
  for (uint32_t f = PP_FLASH_CLIPBOARD_FORMAT_PLAINTEXT; f <= PP_FLASH_CLIPBOARD_FORMAT_RTF; ++f) {
    ZEMA_Release(inst.clipboard[f]);
    inst.clipboard[f] = kNull;
  }
  if (data_item_count == 0) return PP_OK;
  if (formats == nullptr || data_items == nullptr) return PP_ERROR_BADARGUMENT;
  for (uint32_t i = 0; i < data_item_count; ++i) {
    uint32_t f;
    memcpy(&f, static_cast<const char*>(formats) + size_t{i} * sizeof(f), sizeof(f));
    if (!isKnownFormat(f)) continue;
    const PP_Var& item = data_items[i];
    // A reference var that names no object of its kind (one that is gone, or a string
    // var whose handle names an image) is skipped: keeping its handle would later hand
    // out or release whatever resource has it.
    if (varResourceTypes(item.type) != 0 && !EnterVar<PPRes>(item)) continue;
    ZEMA_AddRef(item);
    ZEMA_Release(inst.clipboard[f]);  // an earlier item of the same format
    inst.clipboard[f] = item;
    if (f != PP_FLASH_CLIPBOARD_FORMAT_PLAINTEXT) continue;
    // Plain text goes to the controlling process, item by item; a var that is not a
    // string is only kept.
    uint32_t length = 0;
    const char* text = item.type == PP_VARTYPE_STRING ? ZEMA_VarToUtf8(item, &length) : nullptr;
    if (text == nullptr) continue;
    inst.send(zema::protocol::ClipboardWriteText{.textLength = length}, {{text, length}});
  }
  return PP_OK;
}

}  // namespace

static int32_t ZEMA_WriteData(PP_Instance, PP_Flash_Clipboard_Type, uint32_t data_item_count,
                              const PP_Flash_Clipboard_Format formats[],
                              const PP_Var data_items[]) {
  static_assert(sizeof(PP_Flash_Clipboard_Format) == sizeof(uint32_t));
  return writeItems(data_item_count, formats, data_items);
}

// Formats the plug-in defines are not kept: registering one fails (0).
static uint32_t ZEMA_RegisterCustomFormat(PP_Instance, const char*) {
  return PP_FLASH_CLIPBOARD_FORMAT_INVALID;
}

static PP_Bool ZEMA_IsFormatAvailable_5(PP_Instance instance, PP_Flash_Clipboard_Type type,
                                        uint32_t format) {
  return isKnownFormat(format) ? ZEMA_IsFormatAvailable(
                                     instance, type, static_cast<PP_Flash_Clipboard_Format>(format))
                               : PP_FALSE;
}

static PP_Var ZEMA_ReadData_5(PP_Instance instance, PP_Flash_Clipboard_Type type, uint32_t format) {
  if (format > PP_FLASH_CLIPBOARD_FORMAT_RTF) return kNull;
  return ZEMA_ReadData(instance, type, static_cast<PP_Flash_Clipboard_Format>(format));
}

static int32_t ZEMA_WriteData_5(PP_Instance, PP_Flash_Clipboard_Type, uint32_t data_item_count,
                                const uint32_t formats[], const PP_Var data_items[]) {
  return writeItems(data_item_count, formats, data_items);
}

// The controlling process can change the clipboard without telling the host, so the
// host cannot count the changes.
static PP_Bool ZEMA_GetSequenceNumber(PP_Instance, PP_Flash_Clipboard_Type, uint64_t*) {
  return PP_FALSE;
}

const PPB_Flash_Clipboard_4_0 ppbFlashClipboard = {
    ZEMA_IsFormatAvailable,
    ZEMA_ReadData,
    ZEMA_WriteData,
};

// Also serves ";5.0", its first four members.
const PPB_Flash_Clipboard_5_1 ppbFlashClipboard_5_1 = {
    ZEMA_RegisterCustomFormat, ZEMA_IsFormatAvailable_5, ZEMA_ReadData_5,
    ZEMA_WriteData_5,          ZEMA_GetSequenceNumber,
};
