# Lays the delivered data files beside the executable without replacing what
# a run has already written there (settings, the rewritten tree file, the
# default configuration).
if(NOT IS_DIRECTORY "${SOURCE}")
  return()
endif()
file(GLOB_RECURSE files RELATIVE "${SOURCE}" "${SOURCE}/*")
foreach(f IN LISTS files)
  if(NOT EXISTS "${TARGET}/${f}")
    get_filename_component(dir "${TARGET}/${f}" DIRECTORY)
    file(MAKE_DIRECTORY "${dir}")
    file(COPY_FILE "${SOURCE}/${f}" "${TARGET}/${f}")
  endif()
endforeach()
