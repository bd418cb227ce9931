# StormLib ships neither a pkg-config file nor a CMake config: find its header
# and library and wrap them in an imported target.
find_path(STORMLIB_INCLUDE_DIR StormLib.h)
find_library(STORMLIB_LIBRARY NAMES storm)
include(FindPackageHandleStandardArgs)
find_package_handle_standard_args(StormLib REQUIRED_VARS STORMLIB_LIBRARY STORMLIB_INCLUDE_DIR)
if(StormLib_FOUND AND NOT TARGET StormLib::StormLib)
  add_library(StormLib::StormLib UNKNOWN IMPORTED)
  set_target_properties(StormLib::StormLib PROPERTIES
    IMPORTED_LOCATION "${STORMLIB_LIBRARY}"
    INTERFACE_INCLUDE_DIRECTORIES "${STORMLIB_INCLUDE_DIR}")
endif()
