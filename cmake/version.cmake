# The one version of both executables: the project version above, plus the git commit when the
# sources are a checkout (found again at every build, so a new commit shows at once).
set(TESSERIX_VERSION_SOURCE ${CMAKE_BINARY_DIR}/generated/tesserix_version.cpp)
add_custom_target(tesserix_version_source
  COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${PROJECT_SOURCE_DIR} -DOUTPUT=${TESSERIX_VERSION_SOURCE}
          -DVERSION=${PROJECT_VERSION} -P ${PROJECT_SOURCE_DIR}/cmake/write_version.cmake
  BYPRODUCTS ${TESSERIX_VERSION_SOURCE}
  COMMENT "Version of this checkout"
  VERBATIM)
add_library(tesserix_version STATIC ${TESSERIX_VERSION_SOURCE})
add_dependencies(tesserix_version tesserix_version_source)
target_include_directories(tesserix_version PUBLIC ${PROJECT_SOURCE_DIR}/app)
