# Release packages, made by `cpack` in a built tree (scripts/package does both trees):
#   Windows trees: Pendulix-<version>-win64.zip (win32 for the 32-bit tree) holding Pendulix.exe,
#                  a commented Pendulix.ini and LISEZMOI.txt at its top level: unzip and run;
#   Linux tree:    pendulix_<version>-<release>_<arch>.deb, the program in /usr/bin with its
#                  desktop file and icons (the install rules of src/CMakeLists.txt).
# The native tree also checks that the Windows text files stay Windows-1252 with CR LF.

set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Pendulix")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
  "met le PC à l'heure par Internet - sets the clock from a time server")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_CHECKSUM SHA256)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/packages)
# `package_source` packs the source tree; never the build trees or git's store beside it.
set(CPACK_SOURCE_GENERATOR TGZ)
set(CPACK_SOURCE_IGNORE_FILES "/\\\\.git/" "/build/" "/build-[^/]*/" "/__pycache__/")

if(WIN32)
  # The Windows trees have no other install rules: the zip holds exactly these three files.
  if(TARGET Pendulix)
    install(TARGETS Pendulix RUNTIME DESTINATION .)
  endif()
  install(FILES
    ${PROJECT_SOURCE_DIR}/packaging/windows/Pendulix.ini
    ${PROJECT_SOURCE_DIR}/packaging/windows/LISEZMOI.txt
    DESTINATION .)

  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_NAME Pendulix)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(CPACK_SYSTEM_NAME win64)
  else()
    set(CPACK_SYSTEM_NAME win32)
  endif()
  set(CPACK_PACKAGE_FILE_NAME "Pendulix-${PROJECT_VERSION}-${CPACK_SYSTEM_NAME}")
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
  set(CPACK_SOURCE_PACKAGE_FILE_NAME "Pendulix-${PROJECT_VERSION}-source")
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGE_NAME pendulix) # installed under /usr, the generator's own prefix
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
  set(CPACK_DEBIAN_PACKAGE_SECTION utils)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  set(PENDULIX_PACKAGE_MAINTAINER "Pendulix developers <pendulix@example.org>"
    CACHE STRING "the Maintainer field of the Debian package")
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${PENDULIX_PACKAGE_MAINTAINER}")
  # The long description, French then English; the summary above is its synopsis.
  set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"Pendulix règle l'horloge de l'ordinateur sur un serveur de temps Internet
(time.nist.gov) : l'heure par le protocole Time (RFC 868, port TCP 37) et,
sur demande, la date par le protocole Daytime (RFC 867, port TCP 13). Une
fenêtre, un bouton « Mets mon PC à l'heure ! » ; réglages dans Pendulix.ini,
journal d'activité Pendulix.log, mode silencieux pour un démarrage
automatique. Changer l'heure demande la capacité CAP_SYS_TIME.

Pendulix sets the computer's clock from an Internet time server, over the
Time protocol (RFC 868) and optionally the Daytime protocol (RFC 867) for
the date. Small Qt 6 program with a French user interface.")
  # The Qt 6 runtime the program links, named as this distribution names it (Debian 12:
  # libqt6widgets6, libqt6gui6, libqt6core6; Ubuntu 24.04 adds a t64 suffix): dpkg-shlibdeps
  # reads them off the binary. Without it (dpkg-dev), the Debian 12 names.
  find_program(PENDULIX_DPKG_SHLIBDEPS dpkg-shlibdeps)
  if(PENDULIX_DPKG_SHLIBDEPS)
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  else()
    string(REGEX MATCH "^[0-9]+\\.[0-9]+" qt_min "${Qt6_VERSION}")
    set(CPACK_DEBIAN_PACKAGE_DEPENDS
      "libqt6widgets6 (>= ${qt_min}), libqt6gui6 (>= ${qt_min}), libqt6core6 (>= ${qt_min}), libstdc++6, libgcc-s1, libc6")
  endif()
  set(CPACK_SOURCE_PACKAGE_FILE_NAME "pendulix-${PROJECT_VERSION}-source")
endif()

# A tree without the program (tests only, sanitizers, fuzzing) has nothing to package.
if(TARGET Pendulix OR TARGET pendulix)
  include(CPack)
endif()

if(PENDULIX_BUILD_TESTS AND NOT CMAKE_CROSSCOMPILING AND NOT PENDULIX_SANITIZE)
  find_program(PENDULIX_PYTHON3 NAMES python3 PATHS /usr/bin NO_DEFAULT_PATH)
  find_program(PENDULIX_PYTHON3 NAMES python3 REQUIRED)
  add_test(NAME linux.packaging.windows_files
    COMMAND ${PENDULIX_PYTHON3} ${PROJECT_SOURCE_DIR}/packaging/check-windows-files
            ${PROJECT_SOURCE_DIR})
  set_tests_properties(linux.packaging.windows_files PROPERTIES
    ENVIRONMENT PYTHONDONTWRITEBYTECODE=1 TIMEOUT 30)
endif()
