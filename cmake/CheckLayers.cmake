# Checks that no include runs up the floors of the program, by header name (every header is
# included as "phonomir/Name.h", so its name tells the folder it lives in):
#  - nothing below app/ (the window folders, widgets/ and the ground) includes a header of app/;
#  - widgets/ and the ground include no header of a window folder;
#  - a window's core (its folder without ui/, window/, tests/, tools/ and fuzz/) includes no
#    header of another window's folder.
# Usage: cmake -DSOURCE_DIR=<repository> -P CheckLayers.cmake
cmake_minimum_required(VERSION 3.25)
set(window_folders analyzer generator scope calibration runacf archive presets)
set(low_folders widgets audio dsp common resources)

# header_owner_<Name.h> = the top folder that holds it.
file(GLOB_RECURSE headers RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/*.h)
list(FILTER headers INCLUDE REGEX "/include/phonomir/[^/]+\\.h$")
list(FILTER headers EXCLUDE REGEX "^build")
foreach(header IN LISTS headers)
  string(REGEX MATCH "^[^/]+" folder ${header})
  get_filename_component(name ${header} NAME)
  set(header_owner_${name} ${folder})
endforeach()

set(violations "")
function(check_folder folder forbidden_folders skip_subfolders)
  file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/${folder}/*.h ${SOURCE_DIR}/${folder}/*.cpp)
  foreach(source IN LISTS sources)
    set(skipped FALSE)
    foreach(sub IN LISTS skip_subfolders)
      if(source MATCHES "^${folder}/(.*/)?${sub}/")
        set(skipped TRUE)
      endif()
    endforeach()
    if(skipped)
      continue()
    endif()
    file(STRINGS ${SOURCE_DIR}/${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"phonomir/[A-Za-z0-9_]+\\.h\"")
    foreach(line IN LISTS includes)
      string(REGEX MATCH "phonomir/([A-Za-z0-9_]+\\.h)" match "${line}")
      set(owner "${header_owner_${CMAKE_MATCH_1}}")
      if(owner AND NOT owner STREQUAL folder AND owner IN_LIST forbidden_folders)
        string(APPEND violations "\n  ${source} includes ${CMAKE_MATCH_1} from ${owner}/")
      endif()
    endforeach()
  endforeach()
  set(violations "${violations}" PARENT_SCOPE)
endfunction()

foreach(folder IN LISTS window_folders)
  if(EXISTS ${SOURCE_DIR}/${folder})
    check_folder(${folder} "app" "")
    set(other_windows ${window_folders})
    list(REMOVE_ITEM other_windows ${folder})
    check_folder(${folder} "${other_windows}" "ui;window;tests;tools;fuzz")
  endif()
endforeach()
foreach(folder IN LISTS low_folders)
  check_folder(${folder} "app;${window_folders}" "")
endforeach()

if(violations)
  message(FATAL_ERROR "Includes that run up the floors:${violations}")
endif()
message(STATUS "Layers: no include runs up")
