# The Debian package (cpack -G DEB in the build folder): programs, data, the Speech Dispatcher
# module and its configuration, with what they need at run time as dependencies.

# The module's configuration goes where Debian's server reads module configurations: /etc for
# the prefix /usr (the GNU rule the other configuration files follow), else under the prefix.
install(CODE "set(tirla_module_conf \"${PROJECT_SOURCE_DIR}/data/speechd/orvia.conf\")
              set(tirla_module_etc \"${CMAKE_INSTALL_SYSCONFDIR}/speech-dispatcher/modules\")")
install(CODE [[
  if(NOT IS_ABSOLUTE "${tirla_module_etc}")
    if(CMAKE_INSTALL_PREFIX MATCHES "^/usr/?$")
      set(tirla_module_etc "/${tirla_module_etc}")
    else()
      set(tirla_module_etc "${CMAKE_INSTALL_PREFIX}/${tirla_module_etc}")
    endif()
  endif()
  file(INSTALL DESTINATION "${tirla_module_etc}" TYPE FILE FILES "${tirla_module_conf}")
]])

if(NOT CMAKE_INSTALL_PREFIX STREQUAL "/usr")
  message(STATUS "The Debian package follows the prefix ${CMAKE_INSTALL_PREFIX}; Speech "
                 "Dispatcher finds its module only with the prefix /usr")
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tirla)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "TIRLA <tirla@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Brazilian Portuguese speech for blind users: ORVIA, a console and a Speech Dispatcher module")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "TIRLA speaks Brazilian Portuguese through ORVIA, a rule-based text-to-speech engine that\n\
drives the MBROLA voices br4 and br2 (female) and br1 and br3 (male). It holds the self-voicing console tirla, the orvia command,\n\
and sd_orvia, an output module that gives ORVIA to Speech Dispatcher and so to screen\n\
readers, browsers and spd-say (spd-say -o orvia).")
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# the package installs into the prefix's own folders, /etc included: the install is run as it
# would be on the machine, into a staging folder
set(CPACK_SET_DESTDIR ON)
set(CPACK_STRIP_FILES ON)
# files under /etc are the administrator's once installed: dpkg keeps their changes on upgrade
set(tirla_conffiles ${CMAKE_BINARY_DIR}/packaging/conffiles)
file(WRITE ${tirla_conffiles} "/etc/tolvan/TOLVAN.INI\n/etc/speech-dispatcher/modules/orvia.conf\n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${tirla_conffiles})
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
# The libraries the programs link (SDL2, SDL2_ttf, fontconfig, ncursesw, the C++ runtime) come
# from dpkg-shlibdeps; the programs they run and the data they read are named here. The speech
# services the bridges open at run time are optional.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "mbrola, mbrola-br4, speech-dispatcher, fonts-dejavu-core")
# br4 is the voice of every default; the other Brazilian voices (br1 and br3 male, br2 female)
# are offered once installed, with the diphone lists the build asked of them
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "mbrola-br1, mbrola-br2, mbrola-br3, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "libespeak-ng1, libspeechd2, librhvoice5, sound-icons")
include(CPack)
