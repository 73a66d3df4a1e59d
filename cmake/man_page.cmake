# Writes a manual page from a program's own help texts, so the two never disagree.
#   -DPROGRAM=path -DNAME=tesserix-cli -DSUMMARY=... -DVERSION=... -DOUTPUT=file.1 [-DSUBCOMMANDS=ON]
# With SUBCOMMANDS the commands listed by "PROGRAM --help" (lines "  NAME  SUMMARY") get a
# section each, from "PROGRAM NAME --help".

# Text as roff shown line by line: backslashes and hyphens escaped, no line read as a request.
function(roff_block text out)
  string(REPLACE "\\" "\\e" text "${text}")
  string(REPLACE "-" "\\-" text "${text}")
  string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" text "${text}")
  set(${out} ".nf\n${text}\n.fi\n" PARENT_SCOPE)
endfunction()

function(help_of out)
  execute_process(COMMAND ${PROGRAM} ${ARGN} --help OUTPUT_VARIABLE text RESULT_VARIABLE failed
                  OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(failed)
    message(FATAL_ERROR "${PROGRAM} ${ARGN} --help failed: ${failed}")
  endif()
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

string(TOUPPER "${NAME}" title)
help_of(main_help)
roff_block("${main_help}" main_roff)
string(CONCAT page ".TH ${title} 1 \"\" \"Tesserix ${VERSION}\" \"User Commands\"\n"
         ".SH NAME\n${NAME} \\- ${SUMMARY}\n"
         ".SH DESCRIPTION\n${main_roff}")
if(SUBCOMMANDS)
  string(APPEND page ".SH COMMANDS\n")
  string(REGEX MATCHALL "\n  [a-z][a-z-]*" listed "\n${main_help}")
  foreach(entry IN LISTS listed)
    string(STRIP "${entry}" command)
    help_of(command_help ${command})
    roff_block("${command_help}" command_roff)
    string(APPEND page ".SS ${command}\n${command_roff}")
  endforeach()
endif()
string(APPEND page
  ".SH ENVIRONMENT\n.TP\n.B TESSERIX_DATA\n"
  "The folder for the table files and cube.ini, unless \\-\\-data\\-dir names one.\n"
  ".SH FILES\n.TP\n.I ~/.local/share/tesserix\n"
  "Table files (about 65 MB, created on first use; 430 MB and 1881 MB more for the optional tables) "
  "and cube.ini of an installed program (\\fB$XDG_DATA_HOME/tesserix\\fR when that variable is set).\n"
  ".SH SEE ALSO\n")
if(NAME STREQUAL "tesserix")
  string(APPEND page ".BR tesserix\\-cli (1)\n")
else()
  string(APPEND page ".BR tesserix (1)\n")
endif()
file(WRITE "${OUTPUT}" "${page}")
