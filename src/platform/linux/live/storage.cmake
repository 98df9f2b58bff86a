# The storage providers: drives from the mount table, optical drives and sound cards from
# sysfs and ALSA's proc files. The mount table's format is small enough to read directly.
target_sources(fennock_platform PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/block_devices.cpp
  ${CMAKE_CURRENT_LIST_DIR}/cdrom_drives.cpp
  ${CMAKE_CURRENT_LIST_DIR}/drive_types.cpp
  ${CMAKE_CURRENT_LIST_DIR}/file_system_size.cpp
  ${CMAKE_CURRENT_LIST_DIR}/logical_disks.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mount_table.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sound_cards.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sound_devices.cpp
  ${CMAKE_CURRENT_LIST_DIR}/volume_labels.cpp
)
