# The Debian package (`make package`, or cpack in a build folder): everything
# `cmake --install` puts under the prefix, installed under /usr.

# Packages of the libraries the programs open with dlopen. dpkg-shlibdeps
# sees only what is linked, so these are named here, one a line. The media
# libraries' packages carry the major version the loader asks for
# (libavcodec.so.59 comes in libavcodec59); 5.1 is the first release whose
# entry points the loader finds in all of them.
set(TROVENIX_RUNTIME_PACKAGES)
foreach(library avcodec avformat avutil swscale swresample avfilter)
  string(REGEX MATCH "^[0-9]+" major "${FFMPEG_HEADERS_lib${library}_VERSION}")
  list(APPEND TROVENIX_RUNTIME_PACKAGES "lib${library}${major} (>= 7:5.1)")
endforeach()
if(TARGET trovenix)
  # The window program: Qt 6 Widgets (linked) and SDL2 (opened at run time).
  list(APPEND TROVENIX_RUNTIME_PACKAGES libqt6widgets6 libsdl2-2.0-0)
endif()

set(TROVENIX_PACKAGE_CONTACT
    "Trovenix maintainers <maintainers@users.noreply.c-seed-905b8b29.example>"
    CACHE STRING "Maintainer field of the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME trovenix)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${TROVENIX_PACKAGE_CONTACT}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "batch video and audio converter for players and devices")
set(CPACK_PACKAGE_DESCRIPTION "Trovenix converts video and audio files for players and devices (iPod,
iPhone, PSP, PS3, Zune, mobile phones) and into the common containers, one
file after another or several at once, on the FFmpeg libraries.
trovenix-convert is the converter without a window.")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
list(JOIN TROVENIX_RUNTIME_PACKAGES ", " CPACK_DEBIAN_PACKAGE_DEPENDS)

include(CPack)
