# Writes the bash completion for tavelo-cli with the names its `set` takes, asked of the
# program itself so the list cannot fall behind the catalogue.
# Arguments: -DCLI=<tavelo-cli> -DTEMPLATE=<tavelo-cli.bash.in> -DOUTPUT=<file>
execute_process(COMMAND "${CLI}" set --list OUTPUT_VARIABLE listing RESULT_VARIABLE status
                ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "tavelo-cli set --list failed (${status}): ${errors}")
endif()
string(REGEX MATCHALL "(^|\n)[^ \n]+" names "${listing}")
list(TRANSFORM names STRIP)
list(REMOVE_DUPLICATES names)
list(LENGTH names count)
if(count LESS 10)
  message(FATAL_ERROR "tavelo-cli set --list named only ${count} values")
endif()
list(JOIN names " " TAVELO_SET_NAMES)
configure_file("${TEMPLATE}" "${OUTPUT}" @ONLY)
