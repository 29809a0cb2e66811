# What an installed mazewalk needs beside the program and its data (a desktop
# entry, icons, the README), and the Debian package made of it all:
#   cd build && cpack -G DEB      ->  build/mazewalk_VERSION_ARCH.deb
# The files go in with `cmake --install` too, under any --prefix.
include(GNUInstallDirs)

set(MAZEWALK_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)
install(FILES ${MAZEWALK_PACKAGING_DIR}/mazewalk.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
# hicolor/SIZE/apps/mazewalk.png, drawn by tools/make_icons.py.
install(DIRECTORY ${MAZEWALK_PACKAGING_DIR}/icons/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(MAZEWALK_PACKAGE_MAINTAINER "mazewalk maintainers <maintainers@mazewalk.example>"
  CACHE STRING "The Maintainer field of the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME mazewalk)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "mazewalk maintainers")
set(CPACK_PACKAGE_CONTACT ${MAZEWALK_PACKAGE_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "real-time 3D walk through a maze, drawn in software")
# Control-file lines stay short: cpack keeps the line breaks and indents them.
set(CPACK_PACKAGE_DESCRIPTION [[
A first-person walk through a textured maze with fifty spinning cubes
and UFOs around you. Every pixel is computed by the program itself, with
no GPU API: depth-buffered flat and perspective-correct textured
triangles, 2 x 2 anti-aliasing and half-resolution drawing, on as many
threads as the processor runs. It opens a plain window (SDL2);
--headless plays a demo tour without one and writes its frames as PNG
files, and --bench times it.]])
# The package lands in the build folder, wherever cpack is started from.
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR})
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${MAZEWALK_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The libraries the program links, as the packaging tools find them; where
# they are missing (no dpkg-dev), the two that matter by name.
find_program(MAZEWALK_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(MAZEWALK_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
else()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "libsdl2-2.0-0, libpng16-16")
endif()

include(CPack)
