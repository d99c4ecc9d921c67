# talv_host_headers(<target> <folder>): an imported target for a header-only
# library the build machine has under /usr/include/<folder>. Only that folder
# is put on the include path: the rest of /usr/include is the host's C library.
function(talv_host_headers target folder)
  if(TARGET ${target})
    return()
  endif()
  set(root ${CMAKE_BINARY_DIR}/host-headers/${folder})
  file(MAKE_DIRECTORY ${root})
  file(CREATE_LINK /usr/include/${folder} ${root}/${folder} SYMBOLIC)
  add_library(${target} INTERFACE IMPORTED GLOBAL)
  set_target_properties(${target} PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${root})
endfunction()
