// "PPB_Flash_FontFile;0.2": raw tables of the host's font file.
#pragma once

#include <cstdint>
#include <vector>

#include "ppapi/ppb_flash_font_file.h"
#include "resources/resource.h"

class PPFlashFontFile : public PPRes {
 public:
  static constexpr uint32_t kTypes = typeBit(kResFlashFontFile);
  // One record of the file's table directory.
  struct TableData {
    uint32_t tag;       // the four tag bytes as they stand in the file
    uint32_t checksum;  // as in the file; not used
    uint32_t offset;    // host order
    uint32_t length;    // host order
  };

  // Opens the font file read-only (fd -1 when that fails).
  PPFlashFontFile();
  ~PPFlashFontFile() override;

  // Reads the table directory; leaves it empty unless every record could be read.
  void readTableData();

  int fd;
  std::vector<TableData> tables;
};

extern const PPB_Flash_FontFile_0_2 ppbFlashFontFile;
