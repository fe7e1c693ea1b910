# The layers checked on what each source file includes, not only on what its
# library links: a core file must not include the widget toolkit (nor Qt
# Print Support or Qt Help, built on it), a widget or a window; only the core
# units named in BERLIVO_CORE_GUI_UNITS may include QtGui; a widget must not
# include a window.
#
# Run by the configuration (include() this file, then call
# berlivo_check_includes) and by the test "layers_includes", which runs this
# file as a script:
#   cmake -DSOURCE_DIR=<repository> -DQT_INCLUDE_DIR=<Qt's include folder>
#         -DGUI_UNITS=<folder/unit,...> -P cmake/includes.cmake

if(CMAKE_SCRIPT_MODE_FILE)
  cmake_minimum_required(VERSION 3.21)
endif()

# The class headers of a Qt module ("QLabel", "qlabel.h", ...), read from its folder.
function(_berlivo_qt_headers qt_include_dir module out)
  file(GLOB paths LIST_DIRECTORIES false "${qt_include_dir}/${module}/*")
  set(names ${module})
  foreach(p ${paths})
    get_filename_component(n ${p} NAME)
    list(APPEND names ${n})
  endforeach()
  set(${out} ${names} PARENT_SCOPE)
endfunction()

# The header an include line names, "" when the line is not an include.
function(_berlivo_included line out)
  set(name "")
  if(line MATCHES "^[ \t]*#[ \t]*include[ \t]*[\"<]([^\">]+)[\">]")
    set(name ${CMAKE_MATCH_1})
  endif()
  set(${out} ${name} PARENT_SCOPE)
endfunction()

# The Qt module a header belongs to among `modules`, "" when none: "QtGui/QImage"
# by its folder, "QImage" by its name.
function(_berlivo_qt_module header modules out)
  set(found "")
  if(NOT header MATCHES "^[Qq]")
    set(${out} "" PARENT_SCOPE)
    return()
  endif()
  foreach(m ${modules})
    if(header MATCHES "^${m}(/|$)" OR header IN_LIST _berlivo_headers_${m})
      set(found ${m})
      break()
    endif()
  endforeach()
  set(${out} ${found} PARENT_SCOPE)
endfunction()

# Stops with every offending include listed.
function(berlivo_check_includes source_dir qt_include_dir gui_units)
  foreach(m QtWidgets QtPrintSupport QtHelp QtGui)
    _berlivo_qt_headers(${qt_include_dir} ${m} _berlivo_headers_${m})
  endforeach()
  set(faults "")

  file(GLOB_RECURSE core_files "${source_dir}/src/core/*.h" "${source_dir}/src/core/*.cpp")
  foreach(f ${core_files})
    file(RELATIVE_PATH rel "${source_dir}/src/core" ${f})
    string(REGEX REPLACE "\\.(h|cpp)$" "" unit ${rel})
    file(STRINGS ${f} lines REGEX "^[ \t]*#[ \t]*include")
    foreach(line ${lines})
      _berlivo_included("${line}" header)
      if(header MATCHES "(^|/)(widgets|windows)/" OR header MATCHES "(^|/)ui/")
        list(APPEND faults "src/core/${rel} includes \"${header}\": a core unit must not reach a widget or a window")
        continue()
      endif()
      _berlivo_qt_module("${header}" "QtWidgets;QtPrintSupport;QtHelp;QtGui" module)
      if(module STREQUAL "QtGui")
        if(NOT unit IN_LIST gui_units)
          list(JOIN gui_units ", " painters)
          list(APPEND faults "src/core/${rel} includes <${header}> (QtGui): only the core units that paint may (${painters})")
        endif()
      elseif(module)
        list(APPEND faults "src/core/${rel} includes <${header}> (${module}): a core unit must not reach the widget toolkit")
      endif()
    endforeach()
  endforeach()

  file(GLOB_RECURSE widget_files "${source_dir}/src/ui/widgets/*.h" "${source_dir}/src/ui/widgets/*.cpp")
  foreach(f ${widget_files})
    file(RELATIVE_PATH rel "${source_dir}" ${f})
    file(STRINGS ${f} lines REGEX "^[ \t]*#[ \t]*include")
    foreach(line ${lines})
      _berlivo_included("${line}" header)
      if(header MATCHES "(^|/)windows/")
        list(APPEND faults "${rel} includes \"${header}\": a widget must not reach a window")
      endif()
    endforeach()
  endforeach()

  if(faults)
    list(JOIN faults "\n  " text)
    message(FATAL_ERROR "Layers broken by an include:\n  ${text}")
  endif()
endfunction()

# Qt's include folder: the one of Qt Core's include folders that holds the modules.
function(berlivo_qt_include_dir out)
  get_target_property(dirs Qt6::Core INTERFACE_INCLUDE_DIRECTORIES)
  foreach(d ${dirs})
    if(IS_DIRECTORY "${d}/QtGui")
      set(${out} ${d} PARENT_SCOPE)
      return()
    endif()
  endforeach()
  message(FATAL_ERROR "Qt's include folder not found among ${dirs}")
endfunction()

if(CMAKE_SCRIPT_MODE_FILE)
  string(REPLACE "," ";" units "${GUI_UNITS}")
  berlivo_check_includes("${SOURCE_DIR}" "${QT_INCLUDE_DIR}" "${units}")
endif()
