# The Debian package (scripts/package): cpack -G DEB in a build configured with
# -DCMAKE_INSTALL_PREFIX=/usr. Binaries are stripped into the package, their debug information
# goes to the -dbgsym package beside it; dependencies come from dpkg-shlibdeps plus what is
# loaded at run time.

# The package is signed by whoever builds it, the way Debian's own tools do it:
# -DKOVANTIS_MAINTAINER="Name <address>", else DEBFULLNAME and DEBEMAIL from the environment,
# else git's user.name and user.email. scripts/package refuses to build without one, rather than
# ship a made-up address.
set(kovantis_default_maintainer "")
if(NOT "$ENV{DEBEMAIL}" STREQUAL "")
  if(NOT "$ENV{DEBFULLNAME}" STREQUAL "")
    set(kovantis_default_maintainer "$ENV{DEBFULLNAME} <$ENV{DEBEMAIL}>")
  elseif("$ENV{DEBEMAIL}" MATCHES "<")
    set(kovantis_default_maintainer "$ENV{DEBEMAIL}")
  endif()
endif()
find_program(GIT_PROGRAM git)
if(NOT kovantis_default_maintainer AND GIT_PROGRAM)
  execute_process(COMMAND ${GIT_PROGRAM} config user.name WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
    OUTPUT_VARIABLE kovantis_git_name OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  execute_process(COMMAND ${GIT_PROGRAM} config user.email WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
    OUTPUT_VARIABLE kovantis_git_email OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  if(kovantis_git_name AND kovantis_git_email)
    set(kovantis_default_maintainer "${kovantis_git_name} <${kovantis_git_email}>")
  endif()
endif()
set(KOVANTIS_MAINTAINER "${kovantis_default_maintainer}" CACHE STRING
    "Maintainer field of the Debian package: Name <address>")

# What Debian wants in /usr/share/doc/<package>: the copyright file and a compressed changelog.
set(kovantis_doc_dir ${CMAKE_INSTALL_DATADIR}/doc/${PROJECT_NAME})
configure_file(${PROJECT_SOURCE_DIR}/data/debian/changelog.in ${CMAKE_BINARY_DIR}/package/changelog @ONLY)
find_program(GZIP_PROGRAM gzip REQUIRED)
set(kovantis_compressed ${CMAKE_BINARY_DIR}/package/changelog.gz)
set(kovantis_man_pages kovantis kovantis-cli kovantis-vkbd)
set(kovantis_commands COMMAND ${GZIP_PROGRAM} -9nkf ${CMAKE_BINARY_DIR}/package/changelog)
foreach(page IN LISTS kovantis_man_pages)
  list(APPEND kovantis_compressed ${CMAKE_BINARY_DIR}/package/${page}.1.gz)
  list(APPEND kovantis_commands
    COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/data/man/${page}.1 ${CMAKE_BINARY_DIR}/package/${page}.1
    COMMAND ${GZIP_PROGRAM} -9nf ${CMAKE_BINARY_DIR}/package/${page}.1)
endforeach()
add_custom_command(OUTPUT ${kovantis_compressed}
  ${kovantis_commands}
  DEPENDS ${CMAKE_BINARY_DIR}/package/changelog ${PROJECT_SOURCE_DIR}/data/man/kovantis.1
          ${PROJECT_SOURCE_DIR}/data/man/kovantis-cli.1 ${PROJECT_SOURCE_DIR}/data/man/kovantis-vkbd.1
  COMMENT "Compressing the changelog and manual pages"
  VERBATIM)
add_custom_target(kovantis_package_docs ALL DEPENDS ${kovantis_compressed})
foreach(page IN LISTS kovantis_man_pages)
  install(FILES ${CMAKE_BINARY_DIR}/package/${page}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/data/debian/copyright ${CMAKE_BINARY_DIR}/package/changelog.gz
  DESTINATION ${kovantis_doc_dir})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${PROJECT_NAME})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${KOVANTIS_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configure the Kovantis RGB gaming keyboard")
set(CPACK_PACKAGE_DESCRIPTION
"Kovantis configures an RGB-backlit mechanical gaming keyboard with three
on-board profiles: it re-assigns keys, records macros that the keyboard plays
itself, chooses lighting effects and per-key colours, switches profiles, keeps
them in files and picks the USB report rate. It lives in the notification
area.
.
The package also holds kovantis-cli, which does the same jobs from the command
line, and kovantis-vkbd, a virtual keyboard to try the program without the
hardware.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, so dpkg-shlibdeps cannot see them: Qt's platform plugins (xcb, wayland)
# and udev, which applies the rule.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, udev")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "bash-completion")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)
# What the package puts in /etc belongs to the administrator once installed: dpkg keeps their
# changes on upgrade.
set(kovantis_conffiles "")
if(KOVANTIS_BUILD_UI AND KOVANTIS_AUTOSTART_DIR MATCHES "^/etc/")
  string(APPEND kovantis_conffiles "${KOVANTIS_AUTOSTART_DIR}/kovantis.desktop\n")
endif()
if(KOVANTIS_UDEV_RULES_DIR MATCHES "^/etc/")
  string(APPEND kovantis_conffiles "${KOVANTIS_UDEV_RULES_DIR}/60-kovantis.rules\n")
endif()
if(kovantis_conffiles)
  file(WRITE ${CMAKE_BINARY_DIR}/package/conffiles "${kovantis_conffiles}")
  set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CMAKE_BINARY_DIR}/package/conffiles)
endif()
# The debug-info step strips the binaries itself after copying their debug information out;
# CPack's own stripping would run first and leave it nothing to copy.
set(CPACK_DEBIAN_DEBUGINFO_PACKAGE ON)
set(CPACK_STRIP_FILES OFF)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
include(CPack)
