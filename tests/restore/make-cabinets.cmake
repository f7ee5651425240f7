# Writes the member files of the restore tests and packs them with gcab (cmake -P, with
# GCAB and OUT set). gcab records each file's modification time in UTC as the member's DOS
# date and time, which the expansion then takes as local time: the tests expect the
# extracted files to show these times as local times.
file(REMOVE_RECURSE ${OUT})
set(members ${OUT}/members)
file(MAKE_DIRECTORY ${members}/sub/deep ${members}/upper ${members}/lower ${members}/zz ${members}/order)

function(member name content time)
  file(WRITE ${members}/${name} "${content}")
  execute_process(COMMAND touch -d "${time} UTC" ${members}/${name} COMMAND_ERROR_IS_FATAL ANY)
endfunction()

# pack(NAME [ZIP] [NOPATH] FILES ...): MSZIP compression, names without their folders.
function(pack cabinet)
  cmake_parse_arguments(P "ZIP;NOPATH" "" "FILES" ${ARGN})
  set(options -c)
  if(P_ZIP)
    list(APPEND options -z)
  endif()
  if(P_NOPATH)
    list(APPEND options -n)
  endif()
  execute_process(COMMAND ${GCAB} ${options} ${OUT}/${cabinet} ${P_FILES} WORKING_DIRECTORY ${members}
                  COMMAND_ERROR_IS_FATAL ANY)
endfunction()

# program.bin spans several data blocks of 32 KB: numbered lines (packable) and noise.
string(RANDOM LENGTH 45000 RANDOM_SEED 17 noise)
set(lines "")
foreach(n RANGE 1 1500)
  string(APPEND lines "line ${n} of the program member\n")
endforeach()

member(readme.txt "SCENOVA restore test\r\nThe recorder reads these files at power-on.\r\n" "2021-03-04 05:06:08")
member(program.bin "${lines}${noise}${lines}" "2019-11-22 13:45:31")
member(empty.dat "" "2020-01-01 00:00:00")
member(sub/deep/setting.cfg "mode=1\n" "2018-07-15 23:59:58")
set(all readme.txt program.bin empty.dat sub/deep/setting.cfg)
pack(stored.cab FILES ${all})
pack(mszip.cab ZIP FILES ${all})

# Two members whose names differ only in case: on the card they are one file, so the first
# member's file ends up with the second one's size.
member(upper/SAME.BIN "ten bytes!" "2021-01-01 00:00:00")
member(lower/same.bin "twenty-five bytes, longer" "2021-01-01 00:00:00")
pack(collision.cab NOPATH FILES upper/SAME.BIN lower/same.bin)

# The tests rename zz\escape.txt in place to names that would leave the destination folder.
member(first.txt "written before the bad name\n" "2021-01-01 00:00:00")
member(zz/escape.txt "must never be written\n" "2021-01-01 00:00:00")
pack(escape.cab FILES first.txt zz/escape.txt)

# A cabinet that carries its own DREC.INI shows in which order the restore writes.
member(order/DREC.INI "from the cabinet" "2021-01-01 00:00:00")
pack(order.cab NOPATH FILES order/DREC.INI)
