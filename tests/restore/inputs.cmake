# Cabinets for the card-restore tests, made by Debian's gcab from member files this build
# writes (make-cabinets.cmake). The tests read them from the build tree; the command tests
# also find three as resources "BINARY" 901 to 903 of their program.
find_program(GCAB_PROGRAM gcab REQUIRED)
set(RESTORE_INPUTS ${CMAKE_CURRENT_BINARY_DIR}/restore-inputs)
set(RESTORE_CABINETS
  ${RESTORE_INPUTS}/stored.cab ${RESTORE_INPUTS}/mszip.cab ${RESTORE_INPUTS}/collision.cab
  ${RESTORE_INPUTS}/escape.cab ${RESTORE_INPUTS}/order.cab)
add_custom_command(OUTPUT ${RESTORE_CABINETS}
  COMMAND ${CMAKE_COMMAND} -DGCAB=${GCAB_PROGRAM} -DOUT=${RESTORE_INPUTS}
          -P ${CMAKE_CURRENT_SOURCE_DIR}/restore/make-cabinets.cmake
  DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/restore/make-cabinets.cmake
  COMMENT "Making the restore tests' cabinets with gcab")
add_custom_target(restore_cabinets DEPENDS ${RESTORE_CABINETS})
add_dependencies(${target} restore_cabinets)

file(CONFIGURE OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/restore-cabinets.rc
  CONTENT "901 BINARY \"${RESTORE_INPUTS}/mszip.cab\"\n902 BINARY \"${RESTORE_INPUTS}/order.cab\"\n903 BINARY \"${RESTORE_INPUTS}/collision.cab\"\n" @ONLY)
target_sources(${target} PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/restore-cabinets.rc)
set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/restore-cabinets.rc PROPERTIES OBJECT_DEPENDS "${RESTORE_CABINETS}")
target_compile_definitions(${target} PRIVATE SCENOVA_RESTORE_INPUTS="${RESTORE_INPUTS}")
