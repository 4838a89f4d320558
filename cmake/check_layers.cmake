cmake_minimum_required(VERSION 3.25)

# Refuses an include that reaches a layer the including file's layer may not
# use. Run by the build (cmake -DROOT=<source dir> -P check_layers.cmake), so a
# wrong include fails it before anything links. The compiler already refuses
# most (a target sees only the folders of the layers it links); this check also
# tells model/'s two layers apart and sees headers that no file of their own
# target compiles. It reads quoted and angled includes alike, and refuses a
# relative path out of the folder and any folder of the tree that is no layer
# (tests/, tools/, ...).
# Tests, benchmarks, tools and fuzz targets may use every layer and are not
# checked.

# The layer of a file, from its path relative to the source root.
function(layer_of path out)
  if(path MATCHES "^(editors|batch)/")
    set(layer cycles)
  elseif(path MATCHES "^model/(settings_tables\\.|settings_file_format\\.|file_io\\.|settings_diff|cp932_text\\.)")
    set(layer settings_format)
  elseif(path MATCHES "^(protocol|pty|sink|model|link|sim|videohub|server|cli|res|dialog_kit|dialogs|app)/")
    string(REGEX REPLACE "/.*" "" layer "${path}")
  else()
    set(layer "")
  endif()
  set(${out} "${layer}" PARENT_SCOPE)
endfunction()

# What each layer may include, itself first.
set(uses_protocol protocol)
set(uses_pty pty)
set(uses_sink sink)
set(uses_res res)
set(uses_settings_format settings_format protocol)
set(uses_model model settings_format sink protocol)
set(uses_link link ${uses_model})
set(uses_cycles cycles ${uses_link})
set(uses_sim sim protocol settings_format pty)
set(uses_videohub videohub)
set(uses_server server videohub ${uses_cycles})
set(uses_cli cli ${uses_server} sim pty)
# The GUI in three: the dialog kit, the dialogs built from it, the application
# that opens them.
set(uses_dialog_kit dialog_kit res ${uses_cycles})
set(uses_dialogs dialogs ${uses_dialog_kit})
set(uses_app app ${uses_dialogs} server videohub sim pty)

file(GLOB_RECURSE files RELATIVE ${ROOT}
  ${ROOT}/protocol/* ${ROOT}/pty/* ${ROOT}/sink/* ${ROOT}/model/* ${ROOT}/link/*
  ${ROOT}/editors/* ${ROOT}/batch/* ${ROOT}/sim/* ${ROOT}/cli/* ${ROOT}/res/*
  ${ROOT}/videohub/* ${ROOT}/server/*
  ${ROOT}/dialog_kit/* ${ROOT}/dialogs/* ${ROOT}/app/*)
list(FILTER files INCLUDE REGEX "\\.(h|cpp)$")

set(wrong "")
foreach(file IN LISTS files)
  layer_of("${file}" layer)
  file(STRINGS ${ROOT}/${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"][.a-z_]+/")
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[<\"]([^>\"]+)[>\"].*" "\\1" included "${line}")
    layer_of("${included}" target)
    if(target STREQUAL "")
      # System headers (<sys/...>) are no folder of the tree; tests/, tools/
      # and the others are, and "../" leaves the folder the check knows.
      string(REGEX REPLACE "/.*" "" top "${included}")
      if(top MATCHES "^\\.\\.?$" OR IS_DIRECTORY ${ROOT}/${top})
        string(APPEND wrong "  ${file} (${layer}) includes ${included} (outside the layers)\n")
      endif()
      continue()
    endif()
    if(NOT target IN_LIST uses_${layer})
      string(APPEND wrong "  ${file} (${layer}) includes ${included} (${target})\n")
    endif()
  endforeach()
endforeach()

if(wrong)
  message(FATAL_ERROR "An include reaches a layer above its own:\n${wrong}")
endif()
