#include "fonts/freetypepp.h"

namespace freetypepp {

Library::Library() {
  if (FT_Init_FreeType(&library_) != 0) library_ = nullptr;
}

Library::~Library() {
  if (library_) FT_Done_FreeType(library_);
}

}  // namespace freetypepp
