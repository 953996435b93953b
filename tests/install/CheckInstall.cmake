# Installs the build into a fresh prefix and checks what a desktop needs from
# it: the program, a valid menu entry, the icons and a well-formed file type
# for *.tsp. Run as: cmake -DBUILD_DIR=... -DPREFIX=... -P CheckInstall.cmake
# Prints "SKIPPED:" (the test counts as skipped) when a checking tool is missing.

file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND ${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install failed:\n${out}")
endif()

set(share "${PREFIX}/share")
foreach(f bin/topicsmith share/applications/topicsmith.desktop
          share/icons/hicolor/scalable/apps/topicsmith.svg
          share/icons/hicolor/48x48/apps/topicsmith.png
          share/icons/hicolor/256x256/apps/topicsmith.png
          share/mime/packages/topicsmith.xml)
  if(NOT EXISTS "${PREFIX}/${f}")
    message(FATAL_ERROR "not installed: ${PREFIX}/${f}")
  endif()
endforeach()

# The file type: well-formed, and it names *.tsp for the type the menu entry opens.
set(mime "${share}/mime/packages/topicsmith.xml")
find_program(XMLLINT xmllint)
find_program(PYTHON3 python3)
if(XMLLINT)
  execute_process(COMMAND ${XMLLINT} --noout "${mime}" RESULT_VARIABLE rc ERROR_VARIABLE out)
elseif(PYTHON3)
  execute_process(COMMAND ${PYTHON3} -c "import sys, xml.dom.minidom; xml.dom.minidom.parse(sys.argv[1])" "${mime}"
                  RESULT_VARIABLE rc ERROR_VARIABLE out)
else()
  set(skipped "${skipped} no XML checker (Debian package libxml2-utils);")
  set(rc 0)
endif()
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${mime} is not well-formed XML:\n${out}")
endif()
file(READ "${mime}" mimeText)
if(NOT mimeText MATCHES "<mime-type type=\"application/x-topicsmith-project\">[^<]*(<[^/][^>]*>[^<]*(</[a-z]+>)?[^<]*)*<glob pattern=\"\\*\\.tsp\"/>")
  message(FATAL_ERROR "${mime} does not give *.tsp the type application/x-topicsmith-project")
endif()
file(READ "${share}/applications/topicsmith.desktop" desktopText)
if(NOT desktopText MATCHES "\nMimeType=application/x-topicsmith-project;application/winhlp;")
  message(FATAL_ERROR "the menu entry does not open application/x-topicsmith-project and application/winhlp")
endif()
# Help files (any case of .hlp: globs ignore case) open in the viewer.
if(NOT mimeText MATCHES "<mime-type type=\"application/winhlp\">[^<]*(<[^/][^>]*>[^<]*(</[a-z]+>)?[^<]*)*<glob pattern=\"\\*\\.hlp\"/>")
  message(FATAL_ERROR "${mime} does not give *.hlp the type application/winhlp")
endif()

# The menu entry.
find_program(VALIDATE desktop-file-validate)
if(VALIDATE)
  execute_process(COMMAND ${VALIDATE} "${share}/applications/topicsmith.desktop"
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT rc EQUAL 0 OR NOT out STREQUAL "")
    message(FATAL_ERROR "desktop-file-validate:\n${out}")
  endif()
else()
  set(skipped "${skipped} desktop-file-validate is not installed (Debian package desktop-file-utils);")
endif()

if(skipped)
  message("SKIPPED:${skipped} the other checks passed")
else()
  message("installed and checked in ${PREFIX}")
endif()
