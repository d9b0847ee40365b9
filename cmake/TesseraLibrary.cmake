# tessera_library(<name> DEPENDS <libs...>)
# Builds the static library tessera_<name> from every source file in the
# current folder, so adding a file needs no edit here.
function(tessera_library name)
  cmake_parse_arguments(ARG "" "" "DEPENDS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  add_library(tessera_${name} STATIC ${sources})
  target_include_directories(tessera_${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(tessera_${name} PUBLIC ${ARG_DEPENDS})
endfunction()
