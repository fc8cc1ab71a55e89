# A folder of the tool is one static library that exports its own headers and no other folder's.
# Code includes a header with its folder ("link/link.h"); the include directory a library exports
# holds one entry, a link named after the folder, so a file that includes a folder its target
# does not link fails to compile.
function(ez_export_folder target)
  get_filename_component(folder ${CMAKE_CURRENT_SOURCE_DIR} NAME)
  set(root ${PROJECT_BINARY_DIR}/include/${folder})
  file(MAKE_DIRECTORY ${root})
  set(link ${root}/${folder})
  # A build folder reused for a checkout at another path gets its links pointed anew.
  if(IS_SYMLINK ${link})
    file(READ_SYMLINK ${link} pointed)
    if(NOT pointed STREQUAL CMAKE_CURRENT_SOURCE_DIR)
      file(REMOVE ${link})
    endif()
  endif()
  if(NOT EXISTS ${link})
    file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${link} SYMBOLIC)
  endif()
  target_include_directories(${target} PUBLIC ${root})
endfunction()
