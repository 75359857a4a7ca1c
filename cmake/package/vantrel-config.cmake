# find_package(vantrel CONFIG) with the unzipped package on CMAKE_PREFIX_PATH:
# the imported target vantrel::vantrel, which brings the header, the import
# library and the DLL of the consumer's architecture (chosen by its pointer
# size) and of its linker (MinGW's libvantrel.dll.a, else MSVC's vantrel.lib).
get_filename_component(_vantrel_root "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(_vantrel_arch x64)
elseif(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(_vantrel_arch x86)
else()
  set(vantrel_FOUND FALSE)
  set(vantrel_NOT_FOUND_MESSAGE
      "vantrel: the pointer size is not known; enable C or C++ (project() or enable_language()) before find_package")
  return()
endif()

if(MINGW)
  set(_vantrel_import_library "${_vantrel_root}/${_vantrel_arch}/libvantrel.dll.a")
else()
  set(_vantrel_import_library "${_vantrel_root}/${_vantrel_arch}/vantrel.lib")
endif()

if(NOT TARGET vantrel::vantrel)
  add_library(vantrel::vantrel SHARED IMPORTED)
  set_target_properties(vantrel::vantrel PROPERTIES
    IMPORTED_LOCATION "${_vantrel_root}/${_vantrel_arch}/vantrel.dll"
    IMPORTED_IMPLIB "${_vantrel_import_library}"
    INTERFACE_INCLUDE_DIRECTORIES "${_vantrel_root}/include")
endif()

set(vantrel_ARCHITECTURE ${_vantrel_arch})
unset(_vantrel_root)
unset(_vantrel_arch)
unset(_vantrel_import_library)
