# Files for the file utilities' tests: programs carrying version notes (fixed version 1.2.3.4
# with no string table, and one with a file-version string), and the program itself for a
# first run in a temporary folder.
include(${PROJECT_SOURCE_DIR}/support/VersionNote.cmake)
add_executable(VersionSampleFixed ${CMAKE_CURRENT_LIST_DIR}/VersionSample.cpp)
opgl_add_version_note(VersionSampleFixed 1 2 3 4)
add_executable(VersionSampleText ${CMAKE_CURRENT_LIST_DIR}/VersionSample.cpp)
opgl_add_version_note(VersionSampleText 5 6 7 8
                      STRINGS "StringFileInfo\\040704E4\\FileVersion" "5.6 beta \"two\"")
set_target_properties(VersionSampleFixed VersionSampleText
                      PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
if(TARGET FileOPTest)
  add_dependencies(FileOPTest VersionSampleFixed VersionSampleText OpglProject)
  target_compile_definitions(FileOPTest PRIVATE
    OPGL_SAMPLE_FIXED="$<TARGET_FILE:VersionSampleFixed>"
    OPGL_SAMPLE_TEXT="$<TARGET_FILE:VersionSampleText>"
    OPGL_PROGRAM="$<TARGET_FILE:OpglProject>")
endif()
