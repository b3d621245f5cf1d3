# Warnings are errors on our own code only; system headers stay quiet.
function(meridavolt_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
endfunction()

# meridavolt_core_library(<folder> [DEPENDS <targets>...])
# Builds <folder>/*.cpp into the static library mv_<folder>. Core libraries see
# GLib, ICU and JSON, and never the GTK/WebKit/X11 headers.
function(meridavolt_core_library folder)
  cmake_parse_arguments(ARG "" "" "DEPENDS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${folder}/*.cpp)
  list(FILTER sources EXCLUDE REGEX "/app/main\\.cpp$")
  set(target mv_${folder})
  if(sources)
    add_library(${target} STATIC ${sources})
    set(scope PUBLIC)
  else()
    add_library(${target} INTERFACE)
    set(scope INTERFACE)
  endif()
  target_include_directories(${target} ${scope} ${PROJECT_SOURCE_DIR} ${PROJECT_BINARY_DIR}/generated)
  target_link_libraries(${target} ${scope} PkgConfig::GLIB PkgConfig::ICU nlohmann_json::nlohmann_json ${ARG_DEPENDS})
  target_compile_definitions(${target} ${scope}
    MERIDAVOLT_BUILD_NUMBER=${MERIDAVOLT_BUILD_NUMBER}
    MERIDAVOLT_VERSION="${PROJECT_VERSION}")
  if(sources)
    meridavolt_warnings(${target})
    set_property(GLOBAL APPEND PROPERTY MERIDAVOLT_LIBRARIES ${target})
  endif()
endfunction()

# meridavolt_ui_library(<name> <glob-dir> [DEPENDS <targets>...])
# Builds <glob-dir>/*.cpp into mv_<name> with the full toolkit available.
function(meridavolt_ui_library name dir)
  cmake_parse_arguments(ARG "" "" "DEPENDS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${dir}/*.cpp)
  set(target mv_${name})
  if(sources)
    add_library(${target} STATIC ${sources})
    set(scope PUBLIC)
    meridavolt_warnings(${target})
    set_property(GLOBAL APPEND PROPERTY MERIDAVOLT_LIBRARIES ${target})
  else()
    add_library(${target} INTERFACE)
    set(scope INTERFACE)
  endif()
  target_link_libraries(${target} ${scope}
    PkgConfig::GTKMM PkgConfig::WEBKIT PkgConfig::X11 PkgConfig::TESSERACT PkgConfig::CURL
    OpenSSL::Crypto ${ARG_DEPENDS})
endfunction()
