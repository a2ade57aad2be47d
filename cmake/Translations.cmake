# SPDX-License-Identifier: MIT
# The English texts, i18n/velmix_en.ts: brought up to date by the target
# update_translations and checked by the test "translations". The texts are
# looked for in the sources of every target the program's folders define,
# gathered once they are all defined, so a new folder or file is read without
# a list to keep. lupdate gets the source tree as its include path, as the
# compiler does: without the headers it cannot see that the windows are
# classes in namespace velmix and files the texts of velmix::frmMain under
# "frmMain", where the program never looks them up.
set(VELMIX_TS ${PROJECT_SOURCE_DIR}/i18n/velmix_en.ts)
set(VELMIX_LUPDATE_OPTIONS -no-obsolete -locations none)

function(velmix_tr_sources dir out)
  set(found)
  if(NOT dir MATCHES "^${PROJECT_SOURCE_DIR}/(tests|bench)(/|$)")
    get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
    foreach(target ${targets})
      get_target_property(type ${target} TYPE)
      if(NOT type MATCHES "^(STATIC|SHARED|OBJECT|MODULE)_LIBRARY$|^EXECUTABLE$")
        continue()
      endif()
      get_target_property(sources ${target} SOURCES)
      foreach(source ${sources})
        cmake_path(ABSOLUTE_PATH source BASE_DIRECTORY ${dir})
        cmake_path(IS_PREFIX CMAKE_BINARY_DIR ${source} generated)
        if(source MATCHES "\\.(cpp|h)$" AND NOT generated)
          list(APPEND found ${source})
        endif()
      endforeach()
    endforeach()
    get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
    foreach(sub ${subdirs})
      velmix_tr_sources(${sub} more)
      list(APPEND found ${more})
    endforeach()
  endif()
  set(${out} ${found} PARENT_SCOPE)
endfunction()

velmix_tr_sources(${PROJECT_SOURCE_DIR} VELMIX_TR_SOURCES)
list(REMOVE_DUPLICATES VELMIX_TR_SOURCES)
list(SORT VELMIX_TR_SOURCES)
qt_add_lupdate(velmix TS_FILES ${VELMIX_TS} SOURCES ${VELMIX_TR_SOURCES}
  INCLUDE_DIRECTORIES ${PROJECT_SOURCE_DIR} OPTIONS ${VELMIX_LUPDATE_OPTIONS})

# The same project for lupdate run by hand or by the check (which points it
# at a copy of the file).
list(JOIN VELMIX_TR_SOURCES "\", \"" _sources)
file(WRITE ${CMAKE_BINARY_DIR}/lupdate.json "{ \"projectFile\": \"${PROJECT_SOURCE_DIR}/CMakeLists.txt\",
  \"includePaths\": [ \"${PROJECT_SOURCE_DIR}\" ],
  \"sources\": [ \"${_sources}\" ],
  \"translations\": [ \"${VELMIX_TS}\" ] }\n")
