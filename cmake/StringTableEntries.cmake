# Writes the string table of resources/strings.rc as C++ initialisers ({id, L"text"},) into
# OUTPUT, for builds without resources. Rewritten only when the table changed.
function(scenova_string_table_entries script output)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${script})
  file(STRINGS ${script} lines ENCODING UTF-8 REGEX "^[ \t]*[0-9]+[ \t]+\".*\"[ \t]*$")
  set(entries "")
  foreach(line IN LISTS lines)
    # The resource compiler's escapes (\r\n) are C++'s as well.
    string(REGEX REPLACE "^[ \t]*([0-9]+)[ \t]+(\".*\")[ \t]*$" "    {\\1, L\\2},\n" entry "${line}")
    string(APPEND entries "${entry}")
  endforeach()
  file(WRITE ${output}.new "${entries}")
  configure_file(${output}.new ${output} COPYONLY)
endfunction()
