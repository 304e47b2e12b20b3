# The installer (NSIS) and the portable zip, made from the program just built and
# named with the project's one version, which makensis also gets for the
# installer's own version resource and the entry among the installed programs. On with VANTREL_PACKAGE (the mingw preset
# sets it); makensis must then be there.
set(VANTREL_DIST_DIR "${CMAKE_BINARY_DIR}/dist" CACHE PATH "Where the installer and the portable zip go")
set(VANTREL_SETUP_EXE "${VANTREL_DIST_DIR}/vantrel-${PROJECT_VERSION}-setup.exe")
set(VANTREL_PORTABLE_ZIP "${VANTREL_DIST_DIR}/vantrel-${PROJECT_VERSION}-portable.zip")

find_program(MAKENSIS_EXECUTABLE makensis)
if(NOT MAKENSIS_EXECUTABLE)
  message(FATAL_ERROR "makensis not found: install NSIS (scripts/deps.sh does), or configure with -DVANTREL_PACKAGE=OFF")
endif()

add_custom_command(OUTPUT ${VANTREL_SETUP_EXE}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${VANTREL_DIST_DIR}
  # -WX: a warning of makensis fails the build, as the compilers' do.
  COMMAND ${MAKENSIS_EXECUTABLE} -V2 -WX -DVERSION=${PROJECT_VERSION}
          -DFILE_VERSION=${VANTREL_FILE_VERSION} -DPROGRAM=$<TARGET_FILE:vantrel>
          -DOUTFILE=${VANTREL_SETUP_EXE} ${CMAKE_SOURCE_DIR}/installer/vantrel.nsi
  DEPENDS vantrel ${CMAKE_SOURCE_DIR}/installer/vantrel.nsi ${CMAKE_SOURCE_DIR}/res/images/vantrel.ico
  COMMENT "Making the installer ${VANTREL_SETUP_EXE}"
  VERBATIM)

# The zip holds one folder, so that it unpacks into a place of its own.
set(portable_name vantrel-${PROJECT_VERSION})
set(portable_root ${CMAKE_BINARY_DIR}/portable)
configure_file(${CMAKE_SOURCE_DIR}/installer/portable-readme.txt.in ${portable_root}/README.txt @ONLY)
add_custom_command(OUTPUT ${VANTREL_PORTABLE_ZIP}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${VANTREL_DIST_DIR} ${portable_root}/${portable_name}
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:vantrel> ${portable_root}/README.txt ${portable_root}/${portable_name}/
  COMMAND ${CMAKE_COMMAND} -E rm -f ${VANTREL_PORTABLE_ZIP}
  COMMAND ${CMAKE_COMMAND} -E tar cf ${VANTREL_PORTABLE_ZIP} --format=zip ${portable_name}
  WORKING_DIRECTORY ${portable_root}
  DEPENDS vantrel ${portable_root}/README.txt
  COMMENT "Making the portable zip ${VANTREL_PORTABLE_ZIP}"
  VERBATIM)

add_custom_target(dist ALL DEPENDS ${VANTREL_SETUP_EXE} ${VANTREL_PORTABLE_ZIP})
