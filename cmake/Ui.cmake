# Platform adapters, one library per technology folder under platform/.
file(GLOB adapter_dirs LIST_DIRECTORIES true CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/platform/*)
set(MERIDAVOLT_ADAPTERS "")
foreach(dir ${adapter_dirs})
  if(IS_DIRECTORY ${dir})
    get_filename_component(tech ${dir} NAME)
    meridavolt_ui_library(platform_${tech} platform/${tech} DEPENDS mv_platform)
    list(APPEND MERIDAVOLT_ADAPTERS mv_platform_${tech})
  endif()
endforeach()
set(MERIDAVOLT_ADAPTERS ${MERIDAVOLT_ADAPTERS} CACHE INTERNAL "")

# Views of each subsystem.
meridavolt_ui_library(web_view       web/view       DEPENDS mv_web ${MERIDAVOLT_ADAPTERS})
meridavolt_ui_library(clipboard_view clipboard/view DEPENDS mv_clipboard ${MERIDAVOLT_ADAPTERS})
meridavolt_ui_library(update_view    update/view    DEPENDS mv_update ${MERIDAVOLT_ADAPTERS})
meridavolt_ui_library(desktop_view   desktop/view   DEPENDS mv_desktop mv_web_view mv_clipboard_view)
meridavolt_ui_library(editors_view   editors/view   DEPENDS mv_editors mv_web_view)
meridavolt_ui_library(app_view       app/view       DEPENDS mv_app mv_desktop_view mv_editors_view mv_update_view)

include(cmake/Resources.cmake)

add_executable(meridavolt app/main.cpp)
meridavolt_warnings(meridavolt)
target_link_libraries(meridavolt PRIVATE mv_app_view mv_resources)
install(TARGETS meridavolt RUNTIME DESTINATION bin)
