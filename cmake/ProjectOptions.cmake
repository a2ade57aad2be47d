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
  # Optimised a little, as the sanitizers' makers advise: the tests take half
  # the processor time (the fit's alone took two minutes unoptimised).
  target_compile_options(project_options INTERFACE -fsanitize=${_san} -fno-omit-frame-pointer
    -fno-sanitize-recover=all -O1)
  # The standard library's own checks: bounds of operator[], iterators, and
  # (with AddressSanitizer) use of a vector's capacity beyond its size.
  target_compile_definitions(project_options INTERFACE _GLIBCXX_ASSERTIONS
    _GLIBCXX_SANITIZE_VECTOR=1)
  string(REPLACE "fuzzer-no-link," "" _san_link "${_san}")
  target_link_options(project_options INTERFACE -fsanitize=${_san_link})
endif()

# A library's headers are its header file set, named from the source tree
# ("core/gradient.h") as every include names them. Which library may include
# which is checked by the layer test (scripts/layercheck.py): a library
# includes only its own headers and those of the libraries it links.
function(velmix_layer target)
  set(headers)
  foreach(header ${ARGN})
    if(NOT IS_ABSOLUTE ${header})
      set(header ${CMAKE_CURRENT_SOURCE_DIR}/${header})
    endif()
    list(APPEND headers ${header})
  endforeach()
  target_sources(${target} PUBLIC FILE_SET HEADERS
    BASE_DIRS ${PROJECT_SOURCE_DIR} FILES ${headers})
endfunction()
