# Installs Roadflux as a program (the programs, their manual pages, the menu entry with its
# icon, the MIME type of studies, the example and the documents) and makes a Debian package of
# it: `cpack -G DEB` in the build folder, or tools/package.sh.
# Included at the end of the top-level CMakeLists.txt, once every program's target exists.
include(GNUInstallDirs)

set(ROADFLUX_PACKAGING_DIR ${CMAKE_CURRENT_LIST_DIR})
set(ROADFLUX_PACKAGING_BINARY_DIR ${PROJECT_BINARY_DIR}/packaging)
set(ROADFLUX_EXAMPLES_INSTALL_DIR ${CMAKE_INSTALL_DATADIR}/roadflux/examples)
set(ROADFLUX_DOC_INSTALL_DIR ${CMAKE_INSTALL_DATADIR}/doc/roadflux)
set(ROADFLUX_ICON_SIZES 16 22 24 32 48 64 128 256)

foreach(program roadflux roadflux-cli roadflux-report)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()

# `roadflux-cli example` copies the installed example, found from the program's own place, or
# the source tree's when the program runs from a build.
if(TARGET roadflux_cli)
  target_compile_definitions(roadflux_cli PRIVATE
    ROADFLUX_EXAMPLES_INSTALL_DIR="${ROADFLUX_EXAMPLES_INSTALL_DIR}"
    ROADFLUX_EXAMPLES_SOURCE_DIR="${PROJECT_SOURCE_DIR}/examples")
endif()
if(TARGET roadflux)
  target_compile_definitions(roadflux PRIVATE ROADFLUX_VERSION="${PROJECT_VERSION}")
endif()

install(FILES ${PROJECT_SOURCE_DIR}/examples/study.rfx ${PROJECT_SOURCE_DIR}/examples/traffic.txt
              ${PROJECT_SOURCE_DIR}/examples/Roadflux.ini
        DESTINATION ${ROADFLUX_EXAMPLES_INSTALL_DIR})
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${ROADFLUX_DOC_INSTALL_DIR})
# README.md shows docs/screenshot.png: the same relative place keeps the picture in it.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs DESTINATION ${ROADFLUX_DOC_INSTALL_DIR})

# The desktop's side: menu entry, the type of *.rfx files and the icon, in freedesktop places.
if(TARGET roadflux)
  install(FILES ${ROADFLUX_PACKAGING_DIR}/roadflux.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${ROADFLUX_PACKAGING_DIR}/roadflux-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
          RENAME roadflux.xml)
  install(FILES ${ROADFLUX_PACKAGING_DIR}/roadflux.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  find_program(ROADFLUX_RSVG_CONVERT rsvg-convert)
  if(ROADFLUX_RSVG_CONVERT)
    set(icon_files)
    foreach(size IN LISTS ROADFLUX_ICON_SIZES)
      set(icon ${ROADFLUX_PACKAGING_BINARY_DIR}/icons/${size}x${size}/roadflux.png)
      add_custom_command(OUTPUT ${icon}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${ROADFLUX_PACKAGING_BINARY_DIR}/icons/${size}x${size}
        COMMAND ${ROADFLUX_RSVG_CONVERT} --width ${size} --height ${size} --output ${icon}
                ${ROADFLUX_PACKAGING_DIR}/roadflux.svg
        DEPENDS ${ROADFLUX_PACKAGING_DIR}/roadflux.svg
        COMMENT "Drawing the ${size}x${size} icon" VERBATIM)
      list(APPEND icon_files ${icon})
      install(FILES ${icon} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
    endforeach()
    add_custom_target(roadflux_icons ALL DEPENDS ${icon_files})
  else()
    message(WARNING "rsvg-convert not found (Debian: librsvg2-bin): only the scalable icon is installed")
  endif()
endif()

# Manual pages, made from the programs' own --help by help2man so that they stay true. A
# sanitizer build makes none: nobody installs it, and its programs would run under the sanitizers.
find_program(ROADFLUX_HELP2MAN help2man)
find_program(ROADFLUX_GZIP gzip)
if(ROADFLUX_HELP2MAN AND ROADFLUX_GZIP AND NOT ROADFLUX_SANITIZE AND NOT ROADFLUX_FUZZ)
  set(manual_pages)
  foreach(program roadflux roadflux-cli roadflux-report)
    if(NOT TARGET ${program})
      continue()
    endif()
    set(page ${ROADFLUX_PACKAGING_BINARY_DIR}/man/${program}.1)
    if(program STREQUAL "roadflux-cli")
      # Each command's options are in that command's own --help.
      set(help_source ${ROADFLUX_PACKAGING_DIR}/cli-help-for-man.sh)
      set(help_environment ROADFLUX_CLI=$<TARGET_FILE:roadflux-cli>)
      set(version_option --version-string=roadflux-cli\ ${PROJECT_VERSION})
    else()
      set(help_source $<TARGET_FILE:${program}>)
      set(help_environment)
      set(version_option)
    endif()
    add_custom_command(OUTPUT ${page}.gz
      COMMAND ${CMAKE_COMMAND} -E make_directory ${ROADFLUX_PACKAGING_BINARY_DIR}/man
      COMMAND ${CMAKE_COMMAND} -E env ${help_environment} ${ROADFLUX_HELP2MAN} --no-info --section=1
              ${version_option} --include=${ROADFLUX_PACKAGING_DIR}/man/${program}.h2m
              --include=${ROADFLUX_PACKAGING_DIR}/man/common.h2m --output=${page} ${help_source}
      COMMAND ${ROADFLUX_GZIP} -9 --no-name --force ${page}
      DEPENDS ${program} ${ROADFLUX_PACKAGING_DIR}/man/${program}.h2m ${ROADFLUX_PACKAGING_DIR}/man/common.h2m
              ${ROADFLUX_PACKAGING_DIR}/cli-help-for-man.sh
      COMMENT "Writing the manual page ${program}(1)" VERBATIM)
    list(APPEND manual_pages ${page}.gz)
    install(FILES ${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  endforeach()
  add_custom_target(roadflux_manual_pages ALL DEPENDS ${manual_pages})
elseif(NOT ROADFLUX_SANITIZE AND NOT ROADFLUX_FUZZ)
  message(WARNING "help2man or gzip not found (Debian: help2man): no manual pages are made")
endif()

# The Debian package. Its dependencies come from dpkg-shlibdeps, from the libraries the
# programs link.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME roadflux)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Roadflux")
set(CPACK_PACKAGE_CONTACT "Roadflux developers <roadflux@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "traffic microsimulation of heavy vehicles on a straight road")
set(CPACK_PACKAGE_DESCRIPTION
    "Roadflux moves the vehicles of a recorded or generated traffic file along a straight road, "
    "drives them with the Intelligent Driver Model and a politeness-based lane-change rule, applies "
    "speed-limit and gradient sections, and writes an output traffic file and comma-separated "
    "measurement files (flow, density, speed, headways, composition, lane changes). It reads the "
    "TALVOR, VORK and DoRIV traffic-file formats.\n"
    "The package holds the desktop program roadflux, the headless runner roadflux-cli and an "
    "example study.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
