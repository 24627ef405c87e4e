# The package's description from the metainfo's English texts: the summary,
# then the paragraphs and list items of the description, as the Debian
# control file wants them (lines of at most 79 characters, list items
# indented by two spaces so that they are shown as they stand).

# Appends `text`, wrapped at 79 characters, to the list named `list_var`;
# `first` and `next` start the first and the following lines.
function(orvane_wrap text first next list_var)
  set(result "${${list_var}}")
  string(REGEX REPLACE "[ \t\r\n]+" ";" words "${text}")
  set(line "${first}")
  set(prefix "${first}")
  foreach(word ${words})
    string(LENGTH "${line} ${word}" length)
    if(NOT line STREQUAL prefix AND length GREATER 79)
      list(APPEND result "${line}")
      set(line "${next}")
      set(prefix "${next}")
    endif()
    if(line STREQUAL prefix)
      string(APPEND line "${word}")
    else()
      string(APPEND line " ${word}")
    endif()
  endforeach()
  list(APPEND result "${line}")
  set(${list_var} "${result}" PARENT_SCOPE)
endfunction()

function(orvane_package_description metainfo summary_var description_var)
  if(NOT metainfo MATCHES "<summary>([^<]*)</summary>")
    message(FATAL_ERROR "The metainfo has no English summary")
  endif()
  set(${summary_var} "${CMAKE_MATCH_1}" PARENT_SCOPE)

  # The component's own description, not those of its releases.
  string(FIND "${metainfo}" "<description>" begin)
  string(FIND "${metainfo}" "</description>" end)
  math(EXPR length "${end} - ${begin}")
  string(SUBSTRING "${metainfo}" ${begin} ${length} description)
  # Only the English elements (those without xml:lang), in their order.
  string(REGEX MATCHALL "<(p|li)>[^<]*</(p|li)>" elements "${description}")
  set(lines)
  foreach(element ${elements})
    string(REGEX REPLACE "^<(p|li)>([^<]*)</.*$" "\\2" text "${element}")
    string(STRIP "${text}" text)
    if(element MATCHES "^<li>")
      orvane_wrap("${text}" "  - " "    " lines)
    else()
      if(lines)
        list(APPEND lines "")
      endif()
      orvane_wrap("${text}" "" "" lines)
    endif()
  endforeach()
  string(REPLACE ";" "\n" text "${lines}")
  set(${description_var} "${text}" PARENT_SCOPE)
endfunction()
