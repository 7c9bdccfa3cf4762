# Writes the stand-in recorder program files that the restore tests' cabinets
# carry, into OUT: one spanning several 32 KiB data blocks, one small, one empty.
file(MAKE_DIRECTORY "${OUT}")
set(lines "")
foreach(i RANGE 1 2400)
  string(APPEND lines "program line ${i}: the recorder reads this file from its card\n")
endforeach()
file(WRITE "${OUT}/PROGRAM.BIN" "${lines}")
string(REPEAT "voice data 0123456789abcdef\n" 40 voice)
file(WRITE "${OUT}/VOICE.DAT" "${voice}")
file(WRITE "${OUT}/EMPTY.DAT" "")
