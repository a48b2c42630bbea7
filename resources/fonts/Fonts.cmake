# The six fonts of the screens, embedded under the file names the screens load
# them by. They come from Debian font packages (see README.md beside this file for
# which font stands in for which name). Defines the OBJECT library
# qd3_toolkit_fonts: link it directly into each executable that draws text.

include(${PROJECT_SOURCE_DIR}/cmake/EmbedResources.cmake)

set(QD3_FONT_FILES
  # embedded name          Debian file
  "Roboto-Regular.ttf"     "/usr/share/fonts/truetype/roboto/unhinted/RobotoTTF/Roboto-Regular.ttf"
  "MyBlueRoom.ttf"         "/usr/share/fonts/truetype/dseg/DSEG7Classic-Bold.ttf"
  "ni7seg.ttf"             "/usr/share/fonts/truetype/dseg/DSEG7Modern-Regular.ttf"
  "Knowledge-Bold.ttf"     "/usr/share/fonts/truetype/roboto/unhinted/RobotoCondensed-Bold.ttf"
  "forkawesome-webfont.ttf" "/usr/share/fonts/truetype/fork-awesome/forkawesome-webfont.ttf"
  "fontaudio.ttf"          "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"
)

add_library(qd3_toolkit_fonts OBJECT)
qd3_target_defaults(qd3_toolkit_fonts)
list(LENGTH QD3_FONT_FILES _qd3_font_count)
math(EXPR _qd3_font_last "${_qd3_font_count} - 1")
foreach(i RANGE 0 ${_qd3_font_last} 2)
  math(EXPR j "${i} + 1")
  list(GET QD3_FONT_FILES ${i} _name)
  list(GET QD3_FONT_FILES ${j} _file)
  if(NOT EXISTS "${_file}")
    message(FATAL_ERROR "Font ${_name}: ${_file} is missing; run scripts/setup.sh "
                        "(fonts-roboto, fonts-dseg, fonts-fork-awesome, fonts-dejavu-core)")
  endif()
  qd3_embed_resource(qd3_toolkit_fonts FILE "${_file}" NAME "${_name}")
endforeach()
