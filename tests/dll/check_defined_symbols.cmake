# Checks that a library defines every function named in a list, as a symbol
# of one of the given nm types: run as
#   cmake -DNM=<nm> -DLIBRARY=<file> -DNAMES=<list file> -DTYPES=<letters> -P check_defined_symbols.cmake
# The list holds one mangled name (letters, digits, underscores) per line;
# blank lines and lines starting with "#" are comments. Fails, naming them, when any is missing.

foreach(variable NM LIBRARY NAMES TYPES)
  if(NOT ${variable})
    message(FATAL_ERROR "check_defined_symbols.cmake needs -D${variable}=...")
  endif()
endforeach()

file(STRINGS "${NAMES}" lines)
set(names "")
foreach(line IN LISTS lines)
  if(line MATCHES "^[^#]")
    list(APPEND names "${line}")
  endif()
endforeach()
if(NOT names)
  message(FATAL_ERROR "${NAMES} names no symbol")
endif()

execute_process(COMMAND "${NM}" "${LIBRARY}" OUTPUT_VARIABLE symbols RESULT_VARIABLE result ERROR_VARIABLE errors)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${NM} ${LIBRARY} failed: ${errors}")
endif()

set(missing "")
foreach(name IN LISTS names)
  # nm prints "address type name" per symbol, one per line.
  string(REGEX MATCH "\n[0-9a-fA-F]+ [${TYPES}] ${name}\n" found "\n${symbols}")
  if(NOT found)
    list(APPEND missing "${name}")
  endif()
endforeach()
if(missing)
  list(JOIN missing "\n  " shown)
  message(FATAL_ERROR "${LIBRARY} has no symbol of type [${TYPES}] named\n  ${shown}")
endif()
message(STATUS "${LIBRARY} defines every symbol named in ${NAMES}")
