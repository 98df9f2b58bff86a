# Tests of the storage providers: parsers on text, providers on trees/storage-*, the live
# machine for the shape of its drives.
target_sources(live_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/storage_drive_types_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/storage_file_system_size_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/storage_live_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/storage_mount_table_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/storage_sound_cards_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/storage_trees_test.cpp
)
