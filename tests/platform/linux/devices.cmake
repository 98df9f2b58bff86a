# Tests of the devices providers.
target_sources(live_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/devices_hardware_names_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/devices_network_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/devices_video_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/devices_monitors_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/devices_printers_test.cpp
)
