# Run at every build: writes the version source with the project version and, when the sources
# are a git checkout, the commit they were built from. The file is replaced only when its text
# changes, so an unchanged checkout rebuilds nothing.
#   -DSOURCE_DIR=... -DOUTPUT=... -DVERSION=...
set(commit "")
find_program(GIT_PROGRAM git)
if(GIT_PROGRAM AND EXISTS "${SOURCE_DIR}/.git")
  execute_process(COMMAND ${GIT_PROGRAM} -C "${SOURCE_DIR}" rev-parse --short=10 HEAD
                  OUTPUT_VARIABLE commit RESULT_VARIABLE failed
                  OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  if(failed)
    set(commit "")
  else()
    execute_process(COMMAND ${GIT_PROGRAM} -C "${SOURCE_DIR}" diff --quiet HEAD --
                    RESULT_VARIABLE modified ERROR_QUIET)
    if(modified)
      string(APPEND commit "-modified")
    endif()
  endif()
endif()
file(WRITE "${OUTPUT}.new"
  "// Written by cmake/write_version.cmake at build time.\n"
  "#include \"version/version.hpp\"\n\n"
  "namespace tx::app {\n"
  "const char* const kProjectVersion = \"${VERSION}\";\n"
  "const char* const kGitCommit = \"${commit}\";\n"
  "}  // namespace tx::app\n")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
