# The first step of `cmake --install`: notes which of the folders the installation
# is about to fill do not exist yet under the prefix, so that `make uninstall`
# (scripts/uninstall.sh) removes exactly those, when they are empty again, and never
# the prefix itself or a folder that was there before.
#
# Set by the install rule that includes this file:
#   TARVO_FOLDERS_RECORD  the record, beside install_manifest.txt: the prefix on the
#                         first line, then one folder per line
#   TARVO_INSTALL_DESTS   destination folders relative to the prefix
#   TARVO_INSTALL_TREES   "destination|source folder" pairs: every folder below the
#                         source is a folder below the destination

set(_root "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
string(REGEX REPLACE "/+$" "" _root "${_root}")

# Installing again into the same prefix keeps what the first installation made.
set(_made "")
if(EXISTS "${TARVO_FOLDERS_RECORD}")
  file(STRINGS "${TARVO_FOLDERS_RECORD}" _old)
  list(LENGTH _old _n)
  if(_n GREATER 0)
    list(GET _old 0 _oldroot)
    if(_oldroot STREQUAL _root AND _n GREATER 1)
      list(SUBLIST _old 1 -1 _made)
    endif()
  endif()
endif()

set(_dests ${TARVO_INSTALL_DESTS})
foreach(_pair IN LISTS TARVO_INSTALL_TREES)
  string(REPLACE "|" ";" _pair "${_pair}")
  list(GET _pair 0 _dest)
  list(GET _pair 1 _src)
  if(IS_DIRECTORY "${_src}")
    file(GLOB_RECURSE _subs LIST_DIRECTORIES true RELATIVE "${_src}" "${_src}/*")
    foreach(_sub IN LISTS _subs)
      if(IS_DIRECTORY "${_src}/${_sub}")
        list(APPEND _dests "${_dest}/${_sub}")
      endif()
    endforeach()
  endif()
endforeach()

# The first missing folder on the way to each destination: it and everything the
# installation puts below it are new.
foreach(_dest IN LISTS _dests)
  if(IS_ABSOLUTE "${_dest}")
    continue() # outside the prefix: left alone
  endif()
  set(_path "${_root}")
  string(REPLACE "/" ";" _parts "${_dest}")
  foreach(_part IN LISTS _parts)
    if(_part STREQUAL "" OR _part STREQUAL ".")
      continue()
    endif()
    set(_path "${_path}/${_part}")
    if(NOT IS_DIRECTORY "${_path}")
      list(APPEND _made "${_path}")
      break()
    endif()
  endforeach()
endforeach()
list(REMOVE_DUPLICATES _made)

string(REPLACE ";" "\n" _lines "${_root};${_made}")
file(WRITE "${TARVO_FOLDERS_RECORD}" "${_lines}\n")
