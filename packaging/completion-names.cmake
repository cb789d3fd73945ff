# Writes the bash completion from its template with the lists asked of tavelo-cli itself, so
# they cannot fall behind the program: the names `set` takes and the values of those whose
# values are words (`set --list`), the equaliser sets and the virtual processor's faults (as
# the refusal of an unknown one lists them).
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

# "NAME  a|b|c  ...": names grouped by their list of words, one case branch a list.
string(REPLACE "\n" ";" lines "${listing}")
set(choice_lists)
foreach(line IN LISTS lines)
  if(line MATCHES "^([^ ]+)  ([A-Za-z0-9_.-]+(\\|[A-Za-z0-9_.-]+)+)(  |$)")
    set(name "${CMAKE_MATCH_1}")
    string(REPLACE "|" " " words "${CMAKE_MATCH_2}")
    string(MAKE_C_IDENTIFIER "${words}" key)
    if(NOT DEFINED "names_${key}")
      list(APPEND choice_lists "${words}")
    endif()
    list(APPEND "names_${key}" "${name}")
  endif()
endforeach()
set(TAVELO_SET_CHOICES "")
foreach(words IN LISTS choice_lists)
  string(MAKE_C_IDENTIFIER "${words}" key)
  list(JOIN "names_${key}" " | " pattern)
  string(APPEND TAVELO_SET_CHOICES "    ${pattern}) echo \"${words}\" ;;\n")
endforeach()
if(NOT TAVELO_SET_CHOICES MATCHES "on off")
  message(FATAL_ERROR "tavelo-cli set --list names no on|off values")
endif()
string(STRIP "${TAVELO_SET_CHOICES}" TAVELO_SET_CHOICES)
set(TAVELO_SET_CHOICES "    ${TAVELO_SET_CHOICES}")

# A list a refusal gives in brackets after `label`: "... (SET: a, b, c)".
function(listed_in_refusal variable label)
  execute_process(COMMAND "${CLI}" ${ARGN} OUTPUT_QUIET ERROR_VARIABLE refusal
                  RESULT_VARIABLE status)
  if(NOT refusal MATCHES "\\(${label}: ([^)]+)\\)")
    message(FATAL_ERROR "tavelo-cli ${ARGN} listed no ${label}: ${refusal}")
  endif()
  string(REPLACE ", " " " words "${CMAKE_MATCH_1}")
  set(${variable} "${words}" PARENT_SCOPE)
endfunction()
listed_in_refusal(TAVELO_EQ_SETS SET eq-export ?)
listed_in_refusal(TAVELO_FAULTS faults status --link demo --demo-fault ?)

configure_file("${TEMPLATE}" "${OUTPUT}" @ONLY)
