# SPDX-License-Identifier: MIT
# Flags every target of ours carries: the language level, warnings and
# opt-in sanitizers.
add_library(project_options INTERFACE)
target_compile_features(project_options INTERFACE cxx_std_20)
target_compile_options(project_options INTERFACE -Wall -Wextra -Wpedantic
  $<$<BOOL:${VELMIX_WERROR}>:-Werror>)
target_compile_definitions(project_options INTERFACE QT_NO_CONTEXTLESS_CONNECT)
if(VELMIX_SANITIZE)
  string(REPLACE ";" "," _san "${VELMIX_SANITIZE}")
  target_compile_options(project_options INTERFACE -fsanitize=${_san} -fno-omit-frame-pointer
    -fno-sanitize-recover=all)
  # The standard library's own checks: bounds of operator[], iterators, and
  # (with AddressSanitizer) use of a vector's capacity beyond its size.
  target_compile_definitions(project_options INTERFACE _GLIBCXX_ASSERTIONS
    _GLIBCXX_SANITIZE_VECTOR=1)
  string(REPLACE "fuzzer-no-link," "" _san_link "${_san}")
  target_link_options(project_options INTERFACE -fsanitize=${_san_link})
endif()

# A library's include path holds its own headers and nothing else, each
# under its folder's name ("core/gradient.h"): what else it may include
# comes only from the libraries it links, so a layer shows where it is used
# and cannot reach above itself.
function(velmix_layer target)
  get_filename_component(folder ${CMAKE_CURRENT_SOURCE_DIR} NAME)
  set(root ${CMAKE_BINARY_DIR}/layers/${target})
  file(MAKE_DIRECTORY ${root}/${folder})
  foreach(header ${ARGN})
    if(IS_ABSOLUTE ${header})
      get_filename_component(name ${header} NAME)
      file(CREATE_LINK ${header} ${root}/${folder}/${name} SYMBOLIC)
    else()
      file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR}/${header} ${root}/${folder}/${header} SYMBOLIC)
    endif()
  endforeach()
  target_include_directories(${target} PUBLIC ${root})
endfunction()
