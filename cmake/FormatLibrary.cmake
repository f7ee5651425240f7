# scenova_format: the window-free format code, shared by the Windows build and the native
# (fuzzing) build: exceptions and the string-table interface (base/), the recorded data,
# catalog, sound extraction, settings and firmware files and the file-system seam
# (archive/), and the Image with JPEG, PNG and WAV decoding (playback/decode/).
#
# The layer is enforced, not just agreed on: the library is compiled with an include root
# that holds only its own folders (links in the build tree), and with a windows.h of its own
# that stops the build. An include of ui/, app/, the player or windows.h fails to compile.
#
# The including project defines scenova_platform first: the seam's implementation (the file
# system and loadString) for its platform, which the format library needs at link time.
set(SCENOVA_FORMAT_DIRS base archive playback/decode)

set(SCENOVA_FORMAT_VIEW ${CMAKE_BINARY_DIR}/format-include)
file(MAKE_DIRECTORY ${SCENOVA_FORMAT_VIEW}/playback)
set(SCENOVA_FORMAT_SOURCES)
foreach(dir ${SCENOVA_FORMAT_DIRS})
  file(CREATE_LINK ${SCENOVA_SOURCE_ROOT}/${dir} ${SCENOVA_FORMAT_VIEW}/${dir} SYMBOLIC)
  file(GLOB sources CONFIGURE_DEPENDS ${SCENOVA_SOURCE_ROOT}/${dir}/*.cpp)
  list(APPEND SCENOVA_FORMAT_SOURCES ${sources})
endforeach()
if(NOT EXISTS ${SCENOVA_FORMAT_VIEW}/windows.h)
  file(WRITE ${SCENOVA_FORMAT_VIEW}/windows.h
    "#error \"format code stays free of window code: no windows.h in scenova_format\"\n")
endif()

add_library(scenova_format STATIC ${SCENOVA_FORMAT_SOURCES})
target_include_directories(scenova_format PRIVATE ${SCENOVA_FORMAT_VIEW} INTERFACE ${SCENOVA_SOURCE_ROOT})
# The two libraries need each other at link time only (CMake repeats them on the link
# line): the platform's include root must not reach the format code's compile.
target_link_libraries(scenova_format PUBLIC JPEG::JPEG PNG::PNG ZLIB::ZLIB INTERFACE $<LINK_ONLY:scenova_platform>)
target_link_libraries(scenova_platform PUBLIC scenova_format)
