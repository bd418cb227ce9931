# Lays the delivered data files beside the executable. What a run writes
# there (the settings, the rewritten tree files, the default configuration:
# the .wrk and .ini files) is never replaced; the rest (language files, the
# help) follows the source whenever it is newer.
if(NOT IS_DIRECTORY "${SOURCE}")
  return()
endif()
file(GLOB_RECURSE files RELATIVE "${SOURCE}" "${SOURCE}/*")
foreach(f IN LISTS files)
  set(written_by_runs FALSE)
  if(f MATCHES "\\.(wrk|ini)$")
    set(written_by_runs TRUE)
  endif()
  if(NOT EXISTS "${TARGET}/${f}" OR
     (NOT written_by_runs AND "${SOURCE}/${f}" IS_NEWER_THAN "${TARGET}/${f}"))
    get_filename_component(dir "${TARGET}/${f}" DIRECTORY)
    file(MAKE_DIRECTORY "${dir}")
    file(COPY_FILE "${SOURCE}/${f}" "${TARGET}/${f}")
  endif()
endforeach()
