# The install image: every file the installer puts on a user's machine,
# gathered from the build into three folders laid out as they land:
#   <build>/image         the install home (ZOLYRIC_HOME)
#   <build>/image-player  what goes into the player's folder (Plugins/...)
#   <build>/image-system  what goes into the Windows system folder
# Generators that draw files (skin art, movies) write into <build>/image
# themselves; the image step only waits for them.
#
# One list, installer/CMakeLists.txt, names each piece once:
#   zl_image(HOME|PLAYER|SYSTEM TARGET tgt [DEST dir])   a program or library
#   zl_image(HOME|PLAYER|SYSTEM FILE path [DEST dir] [AFTER tgt] [USER])
#   zl_image(HOME|PLAYER|SYSTEM TREE dir DEST dir AFTER tgt)  a generator's folder,
#                                                        copied whole (no hidden files)
#   zl_image(AFTER tgt)                                   a generator of the image
# A piece whose target (or AFTER target) is not part of this build is left
# out, so a deliverable joins the image as soon as its target exists.
# USER marks a file that becomes the user's own once installed (settings):
# an update leaves it as it is and the uninstaller keeps it unless asked.

set(ZL_IMAGE_DIR ${CMAKE_BINARY_DIR}/image CACHE INTERNAL "The install image: the files below the install home")
set(ZL_IMAGE_PLAYER_DIR ${CMAKE_BINARY_DIR}/image-player CACHE INTERNAL "The install image: files for the player's folder")
set(ZL_IMAGE_SYSTEM_DIR ${CMAKE_BINARY_DIR}/image-system CACHE INTERNAL "The install image: files for the system folder")

set_property(GLOBAL PROPERTY ZL_IMAGE_LINES "")
set_property(GLOBAL PROPERTY ZL_IMAGE_DEPENDS "")
set_property(GLOBAL PROPERTY ZL_IMAGE_MISSING "")

function(zl_image)
  cmake_parse_arguments(I "HOME;PLAYER;SYSTEM;USER" "TARGET;FILE;TREE;DEST;AFTER" "" ${ARGN})
  set(root home)
  set(kind program)
  if(I_USER)
    set(kind user)
  endif()
  if(I_PLAYER)
    set(root player)
  elseif(I_SYSTEM)
    set(root system)
  endif()
  foreach(needed ${I_TARGET} ${I_AFTER})
    if(NOT TARGET ${needed})
      set_property(GLOBAL APPEND PROPERTY ZL_IMAGE_MISSING ${needed})
      return()
    endif()
  endforeach()
  set_property(GLOBAL APPEND PROPERTY ZL_IMAGE_DEPENDS ${I_TARGET} ${I_AFTER})
  if(I_TARGET)
    set_property(GLOBAL APPEND PROPERTY ZL_IMAGE_LINES "${root}|${I_DEST}|${kind}|$<TARGET_FILE:${I_TARGET}>")
  elseif(I_FILE)
    if(NOT I_AFTER AND NOT EXISTS ${I_FILE})
      message(FATAL_ERROR "install image: ${I_FILE} does not exist")
    endif()
    set_property(GLOBAL APPEND PROPERTY ZL_IMAGE_LINES "${root}|${I_DEST}|${kind}|${I_FILE}")
  elseif(I_TREE)
    set_property(GLOBAL APPEND PROPERTY ZL_IMAGE_LINES "${root}|${I_DEST}|tree|${I_TREE}")
  endif()
endfunction()

# Writes the manifest and adds the target `install_image` (part of every
# build), which copies the pieces, lists the image for the installer script
# and touches <build>/image.digest only when the image changed.
function(zl_image_finish)
  get_property(lines GLOBAL PROPERTY ZL_IMAGE_LINES)
  get_property(depends GLOBAL PROPERTY ZL_IMAGE_DEPENDS)
  get_property(missing GLOBAL PROPERTY ZL_IMAGE_MISSING)
  if(missing)
    list(REMOVE_DUPLICATES missing)
    message(STATUS "install image: not in this build: ${missing}")
  endif()
  string(REPLACE ";" "\n" content "${lines}")
  set(manifest ${CMAKE_BINARY_DIR}/image-manifest.txt)
  file(GENERATE OUTPUT ${manifest} CONTENT "${content}\n")
  set(ZL_IMAGE_DIGEST ${CMAKE_BINARY_DIR}/image.digest CACHE INTERNAL "Changes whenever the install image changes")
  set(ZL_IMAGE_LISTS ${CMAKE_BINARY_DIR}/image-lists CACHE INTERNAL "Installer script lists of the image")
  add_custom_target(install_image ALL
    COMMAND ${CMAKE_COMMAND} -DMANIFEST=${manifest} -DHOME=${ZL_IMAGE_DIR} -DPLAYER=${ZL_IMAGE_PLAYER_DIR}
            -DSYSTEM=${ZL_IMAGE_SYSTEM_DIR} -DLISTS=${ZL_IMAGE_LISTS} -DDIGEST=${ZL_IMAGE_DIGEST}
            -P ${CMAKE_SOURCE_DIR}/cmake/AssembleImage.cmake
    BYPRODUCTS ${ZL_IMAGE_DIGEST}
    COMMENT "Install image in ${ZL_IMAGE_DIR}"
    VERBATIM)
  if(depends)
    list(REMOVE_DUPLICATES depends)
    add_dependencies(install_image ${depends})
  endif()
endfunction()
