# The layers, checked on the sources: cmake -DRADICE=<source dir> -P Livelli.cmake
#   - nothing in components/ includes the program (src/);
#   - the program's headless user-interface services (src/ui, src/ui/qt)
#     include only components/ and src/ui: the screens' base and startup
#     sit above them;
#   - Qt headers only in qt folders (tests may use them anywhere).
# Prints one line per breach and fails when there is any.
file(GLOB_RECURSE sorgenti RELATIVE ${RADICE}
  ${RADICE}/components/*.h ${RADICE}/components/*.cpp
  ${RADICE}/src/*.h ${RADICE}/src/*.cpp
  ${RADICE}/tools/*.h ${RADICE}/tools/*.cpp)
set(violazioni 0)
foreach(f IN LISTS sorgenti)
  file(STRINGS ${RADICE}/${f} righe REGEX "^[ \t]*#[ \t]*include")
  foreach(r IN LISTS righe)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[<\"]([^>\"]*)[>\"].*" "\\1" inc "${r}")
    set(motivo "")
    if(f MATCHES "^components/" AND inc MATCHES "^src/")
      set(motivo "a component includes the program")
    elseif(f MATCHES "^src/ui/" AND inc MATCHES "^src/" AND NOT inc MATCHES "^src/ui/")
      set(motivo "the user-interface services include a layer above them")
    elseif(NOT f MATCHES "(^|/)qt/" AND inc MATCHES "^Q[A-Za-z]*$|^Qt[A-Za-z]*/")
      set(motivo "a Qt header outside a qt folder")
    endif()
    if(motivo)
      message("${f}: #include ${inc}: ${motivo}")
      math(EXPR violazioni "${violazioni} + 1")
    endif()
  endforeach()
endforeach()
list(LENGTH sorgenti n)
if(violazioni GREATER 0)
  message(FATAL_ERROR "${violazioni} include(s) break the layers")
endif()
message("layers: ${n} files checked, none breaks them")
