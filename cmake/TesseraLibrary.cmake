# tessera_library(<name> [RECURSE] [PUBLIC <libs...>] [PRIVATE <libs...>])
# Builds the static library tessera_<name> from every source file in the
# current folder (and its sub-folders with RECURSE), so adding a file needs no
# edit here. PUBLIC names what the
# library's headers include, PRIVATE what only its sources use: a library
# above reaches a private one only by linking it itself.
function(tessera_library name)
  cmake_parse_arguments(ARG "RECURSE" "" "PUBLIC;PRIVATE" ${ARGN})
  set(glob GLOB)
  if(ARG_RECURSE)
    set(glob GLOB_RECURSE)
  endif()
  file(${glob} sources CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  add_library(tessera_${name} STATIC ${sources})
  target_include_directories(tessera_${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(tessera_${name} PUBLIC ${ARG_PUBLIC} PRIVATE ${ARG_PRIVATE})
endfunction()
