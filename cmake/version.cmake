# One version for every place that shows it: the version of the project()
# call in the top-level list is written at configure time into the build tree
# (configure_file), for the Windows version record, its manifest and the about
# box (lumenfall_version.h, read by the resource compiler and the program),
# and for the manual page. The Linux program's --version takes the same
# PROJECT_VERSION as a compile definition. debian/changelog has to exist
# before CMake runs, so it is written by hand; a test compares it.
#
# Windows version records and manifests hold four numbers; the parts that
# the project's version leaves out count as 0.
foreach(part MAJOR MINOR PATCH TWEAK)
  if("${PROJECT_VERSION_${part}}" STREQUAL "")
    set(LUMENFALL_VERSION_${part} 0)
  else()
    set(LUMENFALL_VERSION_${part} ${PROJECT_VERSION_${part}})
  endif()
endforeach()
set(LUMENFALL_VERSION_QUAD
  "${LUMENFALL_VERSION_MAJOR}.${LUMENFALL_VERSION_MINOR}.${LUMENFALL_VERSION_PATCH}.${LUMENFALL_VERSION_TWEAK}")

set(LUMENFALL_GENERATED_DIR ${PROJECT_BINARY_DIR}/generated)
set(lumenfall_resources_dir ${PROJECT_SOURCE_DIR}/src/resources)
configure_file(${lumenfall_resources_dir}/lumenfall_version.h.in
  ${LUMENFALL_GENERATED_DIR}/lumenfall_version.h @ONLY)
if(WIN32)
  configure_file(${lumenfall_resources_dir}/lumenfall.manifest.in
    ${LUMENFALL_GENERATED_DIR}/lumenfall.manifest @ONLY)
else()
  configure_file(${lumenfall_resources_dir}/linux/lumenfall.6.in
    ${LUMENFALL_GENERATED_DIR}/lumenfall.6 @ONLY)
endif()
