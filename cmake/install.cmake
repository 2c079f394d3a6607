# What `cmake --install` puts where, and the Debian package built from it (CPack). The
# files zema-run looks for beside itself are in lib/zema, whatever the library folder.
#
#   bin/zema-run, bin/zema-host          the tool and the x86-64 host
#   lib/zema/i386/zema-host              the i386 host, when ZEMA_I386_HOST names one
#   lib/zema/demo/libzema_demo.so        the demo plug-in; its site in share/zema/demo/site
#   include/zema/{protocol,controller}/  the kit's headers
#   lib/libzema_channel.a, lib/libzema_launcher.a, lib/pkgconfig/zema.pc,
#   lib/cmake/zema/                      the kit's libraries, pkg-config and CMake files
#   share/doc/zema/protocol.md, share/man/man1/zema-run.1, zema-host.1
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(ZEMA_I386_HOST "" CACHE FILEPATH "An i386 zema-host to install beside the x86-64 one")

install(TARGETS zema-host RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET zema-run)
  install(TARGETS zema-run RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
if(ZEMA_I386_HOST)
  install(PROGRAMS ${ZEMA_I386_HOST} DESTINATION lib/zema/i386)
endif()
install(TARGETS zema_demo LIBRARY DESTINATION lib/zema/demo)
install(DIRECTORY examples/demo/site/ DESTINATION ${CMAKE_INSTALL_DATADIR}/zema/demo/site)

install(FILES protocol/address.h protocol/codes.h protocol/layouts.h protocol/protocol.h
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/zema/protocol)
install(FILES controller/host_channel.h controller/host_message.h controller/host_process.h
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/zema/controller)
foreach(target zema_protocol zema_channel zema_launcher)
  target_include_directories(${target} INTERFACE
    $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}/zema>)
endforeach()
set_target_properties(zema_protocol PROPERTIES EXPORT_NAME protocol)
set_target_properties(zema_channel PROPERTIES EXPORT_NAME channel)
set_target_properties(zema_launcher PROPERTIES EXPORT_NAME launcher)
install(TARGETS zema_protocol zema_channel zema_launcher EXPORT zemaTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(EXPORT zemaTargets NAMESPACE zema:: DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/zema)
set(ZEMA_INSTALL_HOST ${CMAKE_INSTALL_BINDIR}/zema-host)
configure_package_config_file(cmake/install/zemaConfig.cmake.in
  ${CMAKE_BINARY_DIR}/zemaConfig.cmake
  INSTALL_DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/zema PATH_VARS ZEMA_INSTALL_HOST)
write_basic_package_version_file(${CMAKE_BINARY_DIR}/zemaConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/zemaConfig.cmake ${CMAKE_BINARY_DIR}/zemaConfigVersion.cmake
        DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/zema)
file(RELATIVE_PATH ZEMA_PC_TO_PREFIX "/prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig" "/prefix")
configure_file(cmake/install/zema.pc.in ${CMAKE_BINARY_DIR}/zema.pc @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/zema.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

install(FILES docs/protocol.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES docs/zema-run.1 docs/zema-host.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The Debian package: `cpack -G DEB` in the build folder (scripts/package does it all).
set(CPACK_PACKAGE_NAME zema)
set(CPACK_PACKAGE_VENDOR "the zema developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Stand-alone host for one Pepper (PPAPI) plug-in")
set(CPACK_PACKAGE_DESCRIPTION
    "zema-host runs one PPAPI plug-in outside a browser; zema-run plays its controlling "
    "process: frames, sound, input, URL loads. Includes the controller kit for writing "
    "controlling processes of one's own.")
set(CPACK_PACKAGE_CONTACT "zema developers <dev@zema.invalid>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE amd64)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libc6, libstdc++6, libfreetype6, libpng16-16, libsndfile1, libcurl4, fonts-dejavu-core")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "qemu-user, libfreetype6:i386, libc6:i386, libstdc++6:i386")
include(CPack)
