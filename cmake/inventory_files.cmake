# The files the program carries as resources of type INVENTORY_FILES: one list of
# "id|name|source" drives both targets. Windows compiles them into the program file with
# windres; Linux compiles the same bytes into a table (cmake/embed_resources.cmake).
#
# Defines the target fennock_inventory_files: every executable that reads these resources
# links it (on Windows it carries the resource object, on Linux it is empty because the
# table lives in fennock_platform). On Linux, FENNOCK_INVENTORY_TABLE_SOURCE names the
# generated table for fennock_platform.
include(${PROJECT_SOURCE_DIR}/cmake/web_addresses.cmake)

set(_res ${PROJECT_SOURCE_DIR}/resources)
set(_img ${_res}/images)
set(_gen ${PROJECT_BINARY_DIR}/resources)

set(FENNOCK_INVENTORY_FILES
  "200|inventory.html.tpl|${_gen}/inventory.html.tpl"
  "201|common.css|${_res}/common.css"
  "202|gray.gif|${_img}/gray.gif"
  "203|hd_20x20.gif|${_img}/hd_20x20.gif"
  "204|headerBGBlueGrad.png|${_img}/headerBGBlueGrad.png"
  "205|help_green_20.gif|${_img}/help_green_20.gif"
  "206|mirk.ico|${_img}/mirk.ico"
  "207|navBarBG.png|${_img}/navBarBG.png"
  "208|header_inventory.gif|${_img}/header_inventory.gif"
  "209|RoundRectBottomLeft.gif|${_img}/RoundRectBottomLeft.gif"
  "210|RoundRectBottomRight.gif|${_img}/RoundRectBottomRight.gif"
  "211|RoundRectTopLeft.gif|${_img}/RoundRectTopLeft.gif"
  "212|RoundRectTopRight.gif|${_img}/RoundRectTopRight.gif"
  "213|licence.rtf|${_res}/licence.rtf"
  "214|inventory.yaml.tpl|${_res}/inventory.yaml.tpl"
  "215|blue_arrow.gif|${_img}/blue_arrow.gif"
  "216|externalLink.png|${_img}/externalLink.png"
  "217|add.gif|${_img}/add.gif"
  "218|del.gif|${_img}/del.gif"
  "219|ref.gif|${_img}/ref.gif"
  "220|red.gif|${_img}/red.gif"
  "221|green.gif|${_img}/green.gif"
  "222|yellow.gif|${_img}/yellow.gif"
)

# The template gets the help and forum addresses here. configure_file cannot do it: its
# "@name@" references would also eat the template's "@@__m_name__@@" placeholders.
set(_template_in ${_res}/inventory.html.tpl.in)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${_template_in})
file(READ ${_template_in} _template)
string(REPLACE "@FENNOCK_HELP_URL@" "${FENNOCK_HELP_URL}" _template "${_template}")
string(REPLACE "@FENNOCK_FORUM_URL@" "${FENNOCK_FORUM_URL}" _template "${_template}")
string(REPLACE "\r\n" "\n" _template "${_template}")
string(REPLACE "\n" "\r\n" _template "${_template}")
set(_template_out ${_gen}/inventory.html.tpl)
set(_old_template "")
if(EXISTS ${_template_out})
  file(READ ${_template_out} _old_template)
endif()
if(NOT _old_template STREQUAL _template)
  file(WRITE ${_template_out} "${_template}")
endif()

set(_sources "")
foreach(_entry IN LISTS FENNOCK_INVENTORY_FILES)
  string(REPLACE "|" ";" _parts "${_entry}")
  list(GET _parts 2 _path)
  list(APPEND _sources ${_path})
endforeach()

if(FENNOCK_PLATFORM STREQUAL "windows")
  set(FENNOCK_INVENTORY_FILES_RC_ENTRIES "")
  foreach(_entry IN LISTS FENNOCK_INVENTORY_FILES)
    string(REPLACE "|" ";" _parts "${_entry}")
    list(GET _parts 0 _id)
    list(GET _parts 2 _path)
    string(APPEND FENNOCK_INVENTORY_FILES_RC_ENTRIES "${_id} INVENTORY_FILES \"${_path}\"\n")
  endforeach()
  set(_rc ${_gen}/inventory_files.rc)
  configure_file(${_res}/inventory_files.rc.in ${_rc} @ONLY)
  # windres reads the files itself; the build only learns of them from here.
  set_source_files_properties(${_rc} PROPERTIES OBJECT_DEPENDS "${_sources}")
  # An object library, so that the resources reach the executable: a static library's
  # resource object would be dropped by the linker, as nothing refers to it.
  add_library(fennock_inventory_files OBJECT ${_rc})
else()
  set(_list_file ${_gen}/inventory_files_list.cmake)
  file(CONFIGURE OUTPUT ${_list_file}
       CONTENT "set(FENNOCK_EMBED_ENTRIES \"@FENNOCK_INVENTORY_FILES@\")\n" @ONLY)
  set(FENNOCK_INVENTORY_TABLE_SOURCE ${CMAKE_CURRENT_BINARY_DIR}/generated/inventory_files_table.cpp)
  add_custom_command(
    OUTPUT ${FENNOCK_INVENTORY_TABLE_SOURCE}
    COMMAND ${CMAKE_COMMAND} -DLIST_FILE=${_list_file} -DOUTPUT=${FENNOCK_INVENTORY_TABLE_SOURCE}
            -P ${PROJECT_SOURCE_DIR}/cmake/embed_resources.cmake
    DEPENDS ${_sources} ${_list_file} ${PROJECT_SOURCE_DIR}/cmake/embed_resources.cmake
    COMMENT "Embedding the inventory files"
    VERBATIM)
  add_library(fennock_inventory_files INTERFACE)
endif()
