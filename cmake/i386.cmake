# Toolchain for the 32-bit x86 target on an x86-64 build machine.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_FLAGS_INIT "-m32")
set(CMAKE_CXX_FLAGS_INIT "-m32")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-m32")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-m32")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-m32")
set(CMAKE_LIBRARY_ARCHITECTURE i386-linux-gnu)

# These machines' kernels cannot run i386 binaries directly; qemu-i386 runs them (and
# costs little where the kernel could).
find_program(ZEMA_QEMU_I386 qemu-i386 REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${ZEMA_QEMU_I386})

# FreeType for i386: the system's multi-arch package, or the copy that scripts/setup
# unpacked into .deps/i386 when the package could not be installed.
get_filename_component(_zema_root "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
set(_zema_deps "${_zema_root}/.deps/i386")
if(EXISTS /usr/lib/i386-linux-gnu/pkgconfig/freetype2.pc)
  set(ENV{PKG_CONFIG_LIBDIR} /usr/lib/i386-linux-gnu/pkgconfig:/usr/share/pkgconfig)
elseif(EXISTS ${_zema_deps}/usr/lib/i386-linux-gnu/pkgconfig/freetype2.pc)
  set(ENV{PKG_CONFIG_LIBDIR} ${_zema_deps}/usr/lib/i386-linux-gnu/pkgconfig)
  set(_zema_libdirs "${_zema_deps}/usr/lib/i386-linux-gnu:${_zema_deps}/lib/i386-linux-gnu")
  string(APPEND CMAKE_EXE_LINKER_FLAGS_INIT
         " -Wl,--disable-new-dtags -Wl,-rpath,${_zema_libdirs} -Wl,-rpath-link,${_zema_libdirs}")
  string(APPEND CMAKE_SHARED_LINKER_FLAGS_INIT
         " -Wl,--disable-new-dtags -Wl,-rpath,${_zema_libdirs} -Wl,-rpath-link,${_zema_libdirs}")
else()
  message(FATAL_ERROR "FreeType for i386 not found: run scripts/setup first")
endif()
