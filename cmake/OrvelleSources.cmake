# orvelle_folder_sources(): adds the sources of the calling folder by name:
# <Name>.cpp to the portable core everywhere, <Name>_posix.cpp to the core off
# Windows, <Name>_win.cpp to the Windows shell library on Windows.
function(orvelle_folder_sources)
  file(GLOB common CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  list(FILTER common EXCLUDE REGEX "_(win|posix)\\.cpp$")
  target_sources(orvelle_core PRIVATE ${common})
  if(WIN32)
    file(GLOB specific CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_win.cpp)
    target_sources(orvelle_win PRIVATE ${specific})
  else()
    file(GLOB specific CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_posix.cpp)
    target_sources(orvelle_core PRIVATE ${specific})
  endif()
endfunction()
