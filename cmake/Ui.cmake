# Adapters. The toolkit ground every subsystem stands on lives under
# platform/<technology>/; an adapter that implements one subsystem's interface
# lives in that subsystem, under <subsystem>/<technology>/.
meridavolt_ui_library(platform_glib       platform/glib       DEPENDS mv_platform)
meridavolt_ui_library(platform_gdk        platform/gdk        DEPENDS mv_platform mv_platform_glib)
# The web view reads dropped links with the clipboard's bounded drop reader.
meridavolt_ui_library(web_webkit          web/webkit          DEPENDS mv_web mv_platform_glib mv_clipboard_gdk)
meridavolt_ui_library(clipboard_gdk       clipboard/gdk       DEPENDS mv_clipboard mv_platform_gdk mv_platform_glib)
meridavolt_ui_library(clipboard_tesseract clipboard/tesseract DEPENDS mv_clipboard mv_platform_glib)
meridavolt_ui_library(update_curl         update/curl         DEPENDS mv_update mv_platform_glib)
meridavolt_ui_library(state_gio           state/gio           DEPENDS mv_state mv_platform_gdk mv_platform_glib)
# The recogniser keeps libtesseract's OpenMP threads off (see TesseractTextRecognizer.cpp).
target_link_libraries(mv_clipboard_tesseract PUBLIC OpenMP::OpenMP_CXX)
set(MERIDAVOLT_ADAPTERS platform/glib platform/gdk web/webkit clipboard/gdk clipboard/tesseract
    update/curl state/gio CACHE INTERNAL "")

# Views of each subsystem, with the adapters they stand on.
meridavolt_ui_library(web_view       web/view       DEPENDS mv_web mv_web_webkit)
meridavolt_ui_library(clipboard_view clipboard/view DEPENDS mv_clipboard mv_state mv_clipboard_gdk mv_clipboard_tesseract)
meridavolt_ui_library(update_view    update/view    DEPENDS mv_update mv_update_curl mv_platform_gdk)
meridavolt_ui_library(desktop_view   desktop/view   DEPENDS mv_desktop mv_web_view mv_clipboard_view)
meridavolt_ui_library(editors_view   editors/view   DEPENDS mv_editors mv_web_view mv_desktop_view)
meridavolt_ui_library(app_view       app/view       DEPENDS mv_app mv_desktop_view mv_editors_view mv_update_view mv_state_gio)

include(cmake/Resources.cmake)

add_executable(meridavolt app/main.cpp)
meridavolt_warnings(meridavolt)
target_link_libraries(meridavolt PRIVATE mv_app_view mv_resources)
install(TARGETS meridavolt RUNTIME DESTINATION bin)
