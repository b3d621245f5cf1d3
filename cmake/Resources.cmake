# Files under resources/ are compiled into the program as one GResource bundle.
find_program(GLIB_COMPILE_RESOURCES glib-compile-resources REQUIRED)
set(resource_xml ${PROJECT_SOURCE_DIR}/resources/meridavolt.gresource.xml)
set(resource_c ${PROJECT_BINARY_DIR}/generated/meridavolt-resources.c)
file(GLOB_RECURSE resource_files CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/resources/*)
add_custom_command(
  OUTPUT ${resource_c}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/generated
  COMMAND ${GLIB_COMPILE_RESOURCES} --target=${resource_c} --sourcedir=${PROJECT_SOURCE_DIR}/resources
          --sourcedir=${PROJECT_BINARY_DIR}/generated --generate-source ${resource_xml}
  DEPENDS ${resource_files}
  VERBATIM)
# An object library so that the constructor registering the bundle is always linked in.
add_library(mv_resources OBJECT ${resource_c})
target_link_libraries(mv_resources PUBLIC PkgConfig::GLIB)
