# Fails unless the library's dynamic symbol table defines exactly the expected names.
# Run as: cmake -DLIBRARY=path "-DEXPECTED=name;name;..." -P check_exports.cmake
execute_process(COMMAND nm -D --defined-only ${LIBRARY}
                OUTPUT_VARIABLE listing RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "nm failed on ${LIBRARY}")
endif()
string(REGEX MATCHALL "[^\n]+" lines "${listing}")
set(names)
foreach(line IN LISTS lines)
  string(REGEX REPLACE "^.* " "" name "${line}")
  list(APPEND names ${name})
endforeach()
list(SORT names)
set(expected ${EXPECTED})
list(SORT expected)
if(NOT names STREQUAL expected)
  message(FATAL_ERROR "${LIBRARY} exports '${names}', not '${expected}'")
endif()
