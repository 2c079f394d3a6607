// C++ wrapper around FreeType.
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H

namespace freetypepp {

// Owns the FreeType library handle for the life of the process.
class Library {
 public:
  Library();
  ~Library();
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;

  FT_Library get() const { return library_; }

 private:
  FT_Library library_ = nullptr;
};

}  // namespace freetypepp
