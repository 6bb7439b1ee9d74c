# The Win32 half of the framework: application object, dialogs, controls, message box, wait cursor.
add_library(framework STATIC
  ${CMAKE_CURRENT_LIST_DIR}/application.cpp
  ${CMAKE_CURRENT_LIST_DIR}/dialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/dialog_layout.cpp
  ${CMAKE_CURRENT_LIST_DIR}/message_box.cpp
  ${CMAKE_CURRENT_LIST_DIR}/wait_cursor.cpp
  ${CMAKE_CURRENT_LIST_DIR}/window.cpp)
target_include_directories(framework PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(framework PUBLIC framework_portable user32 gdi32)
