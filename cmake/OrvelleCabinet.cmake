# ORVELLE_CABINET: a cabinet of the recorder's program files, carried by the
# viewer as resource "BINARY" 309 for the card restore. The files are not ours
# to ship, so the default build carries none and every restore then ends with
# the message that some files were not written.
#
# Either way the resource script includes ${CMAKE_BINARY_DIR}/generated/
# CabinetResource.rc: the resource line, or only a comment.
set(ORVELLE_CABINET "" CACHE FILEPATH "Cabinet to embed as the recorder's program files (resource BINARY 309); none by default")

set(orvelle_cabinet_fragment ${CMAKE_BINARY_DIR}/generated/CabinetResource.rc)
if(ORVELLE_CABINET)
  get_filename_component(orvelle_cabinet_file "${ORVELLE_CABINET}" ABSOLUTE BASE_DIR "${CMAKE_BINARY_DIR}")
  if(NOT EXISTS "${orvelle_cabinet_file}" OR IS_DIRECTORY "${orvelle_cabinet_file}")
    message(FATAL_ERROR "ORVELLE_CABINET: no such file: ${orvelle_cabinet_file}")
  endif()
  file(READ "${orvelle_cabinet_file}" orvelle_cabinet_signature LIMIT 4 HEX)
  if(NOT orvelle_cabinet_signature STREQUAL "4d534346")  # "MSCF"
    message(FATAL_ERROR "ORVELLE_CABINET: not a cabinet: ${orvelle_cabinet_file}")
  endif()
  if(orvelle_cabinet_file MATCHES "[\"\\\\]")
    message(FATAL_ERROR "ORVELLE_CABINET: the resource compiler cannot take this path: ${orvelle_cabinet_file}")
  endif()
  message(STATUS "Embedding the recorder's program files from ${orvelle_cabinet_file}")
  set(orvelle_cabinet_line "309 BINARY \"${orvelle_cabinet_file}\"\n")
  set(ORVELLE_RC_DEPENDS ${ORVELLE_RC_DEPENDS} ${orvelle_cabinet_file} CACHE INTERNAL "")
else()
  set(orvelle_cabinet_line "// No cabinet named by ORVELLE_CABINET: no recorder program files.\n")
endif()
file(CONFIGURE OUTPUT ${orvelle_cabinet_fragment} CONTENT "${orvelle_cabinet_line}")
set(ORVELLE_RC_DEPENDS ${ORVELLE_RC_DEPENDS} ${orvelle_cabinet_fragment} CACHE INTERNAL "")
