# Writes a help2man include file with a section that holds the help of every
# command of qelvarctl, taken from the program itself.
#   cmake -DPROGRAM=path/to/qelvarctl -DOUTPUT=file.h2m -P command_help.cmake

function(run_help out)
  execute_process(COMMAND ${PROGRAM} ${ARGN} --help
    OUTPUT_VARIABLE text RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${PROGRAM} ${ARGN} --help failed: ${status}")
  endif()
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

# Roff for preformatted text: backslashes and hyphens escaped, a line that
# starts with a control character made literal.
function(to_roff text out)
  string(REPLACE "\\" "\\e" text "${text}")
  string(REPLACE "-" "\\-" text "${text}")
  string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

# The commands are the first words of the lines under "Commands:".
run_help(tool_help)
string(REGEX MATCH "\n[Cc]ommands:\n(  [^\n]*\n)+" listing "${tool_help}")
string(REGEX MATCHALL "\n  [a-z]+" names "${listing}")
if(NOT names)
  message(FATAL_ERROR "no commands in the help of ${PROGRAM}")
endif()

set(roff "[COMMANDS]\n")
foreach(name IN LISTS names)
  string(STRIP "${name}" name)
  run_help(command_help ${name})
  to_roff("${command_help}" body)
  string(APPEND roff ".SS ${name}\n.nf\n${body}.fi\n")
endforeach()
file(WRITE ${OUTPUT} "${roff}")
