# Installation and the Debian package.
#
# The programs find everything relative to the folder of their executable,
# so the installation is one program folder, <prefix>/lib/tarvel:
#   tarvel-cli, tarvel, tarvel-render     the programs
#   tarvel-cli-job                        the job-database commands, started by tarvel-cli
#   FRM/FRM.MDB                           the template job database
#   BMP/, TARVEL.CHM/                     the pictures and the manual
# with relative links <prefix>/bin/<program> -> ../lib/tarvel/<program>
# (the programs resolve their own path through /proc/self/exe, so they find
# the program folder when started through the links), and for the desktop
# share/applications/tarvel.desktop and the icon in share/icons/hicolor,
# and share/doc/tarvel/copyright.
#
#   cmake --install build --prefix /opt/tarvel
#   cd build && cpack -G DEB          # tarvel_<version>_<arch>.deb, installs into /usr

set(TARVEL_PROGRAM_DIR lib/tarvel)

install(TARGETS tarvel-cli tarvel-cli-job RUNTIME DESTINATION ${TARVEL_PROGRAM_DIR})
install(FILES ${PROJECT_BINARY_DIR}/src/cli/FRM/FRM.MDB DESTINATION ${TARVEL_PROGRAM_DIR}/FRM)
set(tarvel_linked_programs tarvel-cli)

if(TARVEL_BUILD_APP)
  install(TARGETS tarvel tarvel-render RUNTIME DESTINATION ${TARVEL_PROGRAM_DIR})
  get_property(tarvel_stage GLOBAL PROPERTY TARVEL_PROGRAM_FOLDER_STAGE)
  install(DIRECTORY ${tarvel_stage}/BMP ${tarvel_stage}/TARVEL.CHM DESTINATION ${TARVEL_PROGRAM_DIR})
  list(APPEND tarvel_linked_programs tarvel tarvel-render)

  install(FILES ${CMAKE_CURRENT_LIST_DIR}/tarvel.desktop DESTINATION share/applications)
  install(FILES ${tarvel_stage}/BMP/tarvel.png DESTINATION share/icons/hicolor/256x256/apps)
  install(FILES ${PROJECT_SOURCE_DIR}/art/svg/bmp/tarvel.svg DESTINATION share/icons/hicolor/scalable/apps)
endif()

# Copyright and licence, where Debian keeps them for every package.
install(FILES ${CMAKE_CURRENT_LIST_DIR}/copyright DESTINATION share/doc/tarvel)

# The links are made once in the build tree and installed as links.
foreach(program IN LISTS tarvel_linked_programs)
  set(link ${PROJECT_BINARY_DIR}/packaging/bin/${program})
  file(MAKE_DIRECTORY ${PROJECT_BINARY_DIR}/packaging/bin)
  file(CREATE_LINK ../${TARVEL_PROGRAM_DIR}/${program} ${link} SYMBOLIC)
  install(FILES ${link} DESTINATION bin)
endforeach()

# The Debian package.
set(TARVEL_PACKAGE_MAINTAINER "Tarvel maintainers <maintainers@users.noreply.c-seed-17273982.example>"
    CACHE STRING "Maintainer field of the Debian package")
set(CPACK_PACKAGE_NAME tarvel)
set(CPACK_PACKAGE_VENDOR "Tarvel")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${TARVEL_PACKAGE_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Plane frame analysis and reinforced-concrete design / 平面框架分析与配筋设计")
# The summary is the first line of the Description field; this is the rest.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"Tarvel analyses the transverse frames of multi-storey concrete buildings.
A plane frame is described in a segmented .TVL data file, or entered in a
job database from which that file is generated. One run does a linear
static analysis by the stiffness method for the dead, live and wind cases,
the periods and mode shapes with a response-spectrum seismic action, the
factored load combinations and the longitudinal steel and stirrups of every
beam and column, and writes the calculation report and the force and
reinforcement files. DXF drawings of the structure, the internal-force
diagrams and the reinforcement areas are made from these files.
.
The package holds the desktop program tarvel (Qt 6), the command-line tool
tarvel-cli and the drawing renderer tarvel-render, with the pictures, the
manual (Chinese) and the template job database.")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${TARVEL_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The shared libraries the programs link (Qt, SQLite, the C++ runtime) are
# found by dpkg-shlibdeps from the binaries themselves, so the versions always
# match the build; what is only loaded at run time is named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(TARVEL_BUILD_APP)
  # The captions are Chinese and drawn in WenQuanYi Micro Hei; the home page
  # and the manual open in the desktop's browser.
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-wqy-microhei")
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
endif()
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
include(CPack)
