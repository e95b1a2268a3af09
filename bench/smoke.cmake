# Runs a benchmark on tiny sets and fails unless it ends well and prints every measure named
# in NAMES (comma-separated) as "bench <name> <number> <unit>".
#   cmake -DBENCH=<program> -DARGS="<arguments>" -DNAMES=a,b,c -P smoke.cmake
separate_arguments(args UNIX_COMMAND "${ARGS}")
execute_process(COMMAND ${BENCH} ${args} OUTPUT_VARIABLE output ERROR_VARIABLE errors
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${BENCH} ended with ${result}\n${output}\n${errors}")
endif()
string(REPLACE "," ";" names "${NAMES}")
foreach(name IN LISTS names)
  if(NOT output MATCHES "(^|\n)bench ${name} -?[0-9]+(\\.[0-9]+)? [^\n]+")
    message(FATAL_ERROR "no line for ${name}:\n${output}")
  endif()
endforeach()
message("${output}")
