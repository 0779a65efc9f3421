# What a Windows user downloads, named with the project version: a portable
# zip (a folder Lumivane with the exe and ReadMe.txt) and, where NSIS is at
# hand, a per-user installer.
set(LUMI_DIST_DIR ${CMAKE_BINARY_DIR}/dist CACHE PATH "Folder the installer and the portable zip are written to")
find_program(LUMI_MAKENSIS makensis)

set(LUMI_README ${CMAKE_BINARY_DIR}/ReadMe.txt)
set(LUMI_PORTABLE ${LUMI_DIST_DIR}/lumivane-${PROJECT_VERSION}-portable.zip)
set(LUMI_SETUP ${LUMI_DIST_DIR}/lumivane-${PROJECT_VERSION}-setup.exe)
set(LUMI_DIST_FILES ${LUMI_PORTABLE})

# One folder at the top of the zip, so that unpacking it "here" scatters
# nothing and the program finds ReadMe.txt beside itself.
set(stage ${CMAKE_BINARY_DIR}/portable)
add_custom_command(OUTPUT ${LUMI_PORTABLE}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${stage} ${LUMI_PORTABLE}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${stage}/Lumivane ${LUMI_DIST_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:lumivane> ${LUMI_README} ${stage}/Lumivane
  COMMAND ${CMAKE_COMMAND} -E chdir ${stage} ${CMAKE_COMMAND} -E tar cf ${LUMI_PORTABLE} --format=zip
          Lumivane
  DEPENDS lumivane ${LUMI_README}
  VERBATIM)

if(LUMI_MAKENSIS)
  set(script ${CMAKE_SOURCE_DIR}/installer/lumivane.nsi)
  add_custom_command(OUTPUT ${LUMI_SETUP}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${LUMI_DIST_DIR}
    COMMAND ${LUMI_MAKENSIS} -V2 -INPUTCHARSET UTF8
            -DVERSION=${PROJECT_VERSION} -DVERSION_QUAD=${LUMI_VERSION_QUAD}
            -DPROGRAM=$<TARGET_FILE:lumivane> -DREADME=${LUMI_README}
            -DICON=${CMAKE_SOURCE_DIR}/resources/icons/program.ico -DOUTFILE=${LUMI_SETUP}
            ${LUMI_NSIS_TARGET} ${script}
    DEPENDS lumivane ${LUMI_README} ${script} ${CMAKE_SOURCE_DIR}/resources/icons/program.ico
    VERBATIM)
  list(APPEND LUMI_DIST_FILES ${LUMI_SETUP})
else()
  message(STATUS "makensis not found: the build makes the portable zip but no installer")
endif()

add_custom_target(dist ALL DEPENDS ${LUMI_DIST_FILES})
