// "PPB_Flash_FontFile;0.2": raw tables of the host's font file.
#include "fonts/flash_font_file.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <unistd.h>

#include "fonts/text_drawing.h"
#include "host/plugin_instance.h"
#include "resources/not_implemented.h"
#include "resources/resource_table.h"

namespace {

// Reads exactly `size` bytes at `offset`; false when the file has fewer.
bool readAt(int fd, void* buffer, size_t size, off_t offset) {
  auto* p = static_cast<char*>(buffer);
  while (size > 0) {
    ssize_t n = pread(fd, p, size, offset);
    if (n <= 0) return false;
    p += n;
    size -= static_cast<size_t>(n);
    offset += n;
  }
  return true;
}

}  // namespace

PPFlashFontFile::PPFlashFontFile() : PPRes(kResFlashFontFile), fd(open(kFontFile, O_RDONLY)) {}

PPFlashFontFile::~PPFlashFontFile() {
  if (fd >= 0) close(fd);
}

void PPFlashFontFile::readTableData() {
  uint16_t count = 0;
  if (fd < 0 || !readAt(fd, &count, sizeof(count), 4)) return;
  tables.resize(ntohs(count));
  // Records start at offset 12, 16 bytes each: tag, checksum, offset, length.
  if (!readAt(fd, tables.data(), tables.size() * sizeof(TableData), 12)) {
    tables.clear();  // never use records that were not read
    return;
  }
  for (TableData& t : tables) {
    t.offset = ntohl(t.offset);
    t.length = ntohl(t.length);
  }
}

static PP_Resource ZEMA_FlashFontFile_Create(PP_Instance, const PP_BrowserFont_Trusted_Description*,
                                             PP_PrivateFontCharset) {
  return pluginInstance->allocateResId(new PPFlashFontFile);
}

static PP_Bool ZEMA_FlashFontFile_GetFontTable(PP_Resource font_file, uint32_t table, void* output,
                                               uint32_t* output_length) {
  Enter<PPFlashFontFile> file(font_file);
  if (!file || output_length == nullptr) return PP_FALSE;
  if (file->tables.empty()) file->readTableData();
  for (const PPFlashFontFile::TableData& t : file->tables) {
    if (t.tag != table) continue;
    // A buffer smaller than the table (by the length the plug-in says it holds) gets
    // nothing rather than an overrun.
    uint32_t room = *output_length;
    *output_length = t.length;
    if (output == nullptr) return PP_TRUE;
    if (room < t.length) return PP_FALSE;
    return readAt(file->fd, output, t.length, t.offset) ? PP_TRUE : PP_FALSE;
  }
  return PP_FALSE;
}

using Iface = PPB_Flash_FontFile_0_2;

const PPB_Flash_FontFile_0_2 ppbFlashFontFile = {
    ZEMA_FlashFontFile_Create,
    isResourceEntry<kResFlashFontFile>,
    ZEMA_FlashFontFile_GetFontTable,
    /* ZEMA_FlashFontFile_IsSupportedForWindows */
    NotImplemented<decltype(Iface::IsSupportedForWindows)>::entry,
};
